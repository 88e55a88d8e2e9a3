#!/usr/bin/env python3
"""quillbox-cli's --json read back with Python's json module: one ASCII object a line, and the
notebook's bytes exactly, {"text": ...} where they are UTF-8 and {"bytes": BASE64} where they are
not (a Windows-1252 notebook, a stray byte, a file name that is not UTF-8), checked against the
notebook's own bytes as cat writes them and its paths as tree --paths -z gives them.
Usage: json-test.py QUILLBOX-CLI"""

import base64
import json
import os
import subprocess
import sys
import tempfile

CLI = os.path.realpath(sys.argv[1])
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def cli(*words, status=0):
    done = subprocess.run([CLI, *words], capture_output=True)
    if done.returncode != status:
        fail(f"{words} exited {done.returncode}, not {status}: {done.stderr!r}")
    return done.stdout


def objects(output):
    """Each line of the output as the object it holds."""
    read = []
    for line in output.split(b"\n")[:-1]:
        if not line.isascii():
            fail(f"a JSON line is not ASCII: {line!r}")
        read.append(json.loads(line))
    if not output.endswith(b"\n") and output:
        fail(f"the JSON output does not end with a line feed: {output[-40:]!r}")
    return read


def data(value):
    """The bytes a {"text": ...} or {"bytes": ...} stands for."""
    if set(value) == {"text"}:
        return value["text"].encode("utf-8", "surrogatepass")
    if set(value) == {"bytes"}:
        raw = base64.b64decode(value["bytes"], validate=True)
        try:
            raw.decode("utf-8")
            fail(f"UTF-8 bytes came as base64: {value}")
        except UnicodeDecodeError:
            pass
        return raw
    fail(f"not a text or bytes object: {value}")
    return b""


def decode(raw, encoding):
    # Python's cp1252 leaves five bytes undefined, which Windows-1252 notebooks read as C1 controls.
    return raw.decode("utf-8") if encoding == "UTF-8" else "".join(
        bytes([b]).decode("cp1252") if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else chr(b) for b in raw)


os.chdir(tempfile.mkdtemp())
os.environ["LC_ALL"] = "C.UTF-8"

# A UTF-8 notebook with a tab, quotes, a backslash, a character beyond U+FFFF, an escape and a
# bidirectional override; and a Windows-1252 one under a name that is not UTF-8, with a byte the
# code page leaves undefined (any byte that is not UTF-8 makes a notebook Windows-1252).
cli("new", "utf8.not")
cli("add", "--create", "utf8.not", "Main/Ide\\/as", "first line\nthe \"quoted\" \\ line\twith a tab 😀 and the word twice: word\n"
    "third \x1b[2J \u202e line\nfourth")
cli("add", "utf8.not", "Main/Ide\\/as", "another note with a word")
legacy = os.fsdecode(b"legacy-\xe9.not")
cli("new", legacy)
cli("add", "--create", legacy, "Main/Caf", "x")
with open(legacy, "rb") as f:
    notebook = f.read()
with open(legacy, "wb") as f:
    f.write(notebook.replace(b"\r\nCaf\r\n", b"\r\nCaf\xe9\r\n", 1))
cli("add", legacy, "Main/Café", "déjà vu, a word in Windows-1252\nstray word")
with open(legacy, "rb") as f:
    notebook = f.read()
if b"d\xe9j\xe0 vu" not in notebook:
    fail("the Windows-1252 notebook holds its note in another encoding")
with open(legacy, "wb") as f:
    f.write(notebook.replace(b"stray", b"stray \x81", 1))
files = ["utf8.not", legacy]

# The folders' texts, line by line, as cat writes their bytes.
tree_paths = {}
texts = {}
for file in files:
    paths = cli("tree", "--paths", "-z", file).split(b"\0")[:-1]
    tree_paths[file] = [p.decode("utf-8") for p in paths]
    for path in tree_paths[file]:
        texts[(file, path)] = cli("cat", file, path).split(b"\r\n")


def header_of(lines, number):
    for line in reversed(lines[:number]):
        if line.startswith(b"------ ") and line.endswith(b" ------"):
            return line
    return b""


# grep over both notebooks, with lines around the matches: every object's bytes are the
# notebook's, every match is where its offsets say.
found = objects(cli("grep", "--json", "-i", "-C", "1", *files, "WORD"))
kinds = [o["type"] for o in found]
if kinds.count("match") != 4 or "context" not in kinds:
    fail(f"grep --json -C 1 gave {kinds}")
for o in found:
    expected_keys = {"type", "file", "encoding", "path", "header", "line_number", "text", "submatches"}
    if set(o) != expected_keys:
        fail(f"an object has the fields {sorted(o)}")
        continue
    file = os.fsdecode(data(o["file"]))
    path = decode(data(o["path"]), o["encoding"])
    text = data(o["text"])
    if file not in files or path not in tree_paths[file]:
        fail(f"an object names {file!r} {path!r}, which tree --paths does not list")
        continue
    wanted_encoding = "UTF-8" if file == "utf8.not" else "windows-1252"
    if o["encoding"] != wanted_encoding:
        fail(f"{file} is said to be {o['encoding']}")
    lines = texts[(file, path)]
    number = o["line_number"]
    if number < 1 or lines[number - 1] != text:
        fail(f"{file} {path} line {number} is {text!r}, but cat gives {lines[number - 1] if number >= 1 else None!r}")
    if data(o["header"]) != header_of(lines, number):
        fail(f"{file} {path} line {number} has the header {data(o['header'])!r}")
    for submatch in o["submatches"]:
        matched = data(submatch["match"])
        if text[submatch["start"]:submatch["end"]] != matched or matched.lower() != b"word":
            fail(f"a submatch of {text!r} is {submatch}")
    if (o["type"] == "match") != bool(o["submatches"]):
        fail(f"a {o['type']} line has the submatches {o['submatches']}")
stray = [o for o in found if b"\x81" in data(o["text"])]
if len(stray) != 1 or data(stray[0]["text"]) != b"stray \x81 word":
    fail(f"the line with a stray byte came as {[o['text'] for o in stray]}")
legacy_line = [o for o in found if "legacy" in os.fsdecode(data(o["file"])) and b"vu" in data(o["text"])]
if len(legacy_line) != 1 or data(legacy_line[0]["text"]) != "déjà vu, a word in Windows-1252".encode("cp1252"):
    fail(f"the Windows-1252 line came as {legacy_line}")
if "bytes" not in legacy_line[0]["file"] or data(legacy_line[0]["file"]) != os.fsencode(legacy):
    fail(f"the file name that is not UTF-8 came as {legacy_line[0]['file']}")
twice = [o for o in found if b"twice" in data(o["text"])]
if len(twice) != 1 or len(twice[0]["submatches"]) != 2:
    fail(f"the line with two matches came as {twice}")

# -v: the names and lines that do not match, none with a submatch.
inverted = objects(cli("grep", "--json", "-v", "utf8.not", "word"))
if any(o["submatches"] or o["type"] != "match" or b"word" in data(o["text"]) for o in inverted):
    fail("grep --json -v gave a line that matches")
names = [data(o["text"]) for o in inverted if o["line_number"] == 0]
if names != [b"Main", b"Ide/as", b"Trash"] or any(data(o["header"]) for o in inverted if o["line_number"] == 0):
    fail(f"grep --json -v gave the names {names}")
if len(inverted) != len(names) + sum(len(t) - 1 for (f, p), t in texts.items() if f == "utf8.not") - 2:
    fail(f"grep --json -v gave {len(inverted)} lines")

# tree: a folder a line, in the order and with the paths of tree --paths.
for file in files:
    folders = objects(cli("tree", "--json", file))
    paths = [decode(data(o["path"]), o["encoding"]) for o in folders]
    if paths != tree_paths[file]:
        fail(f"tree --json {file} gives the paths {paths}, tree --paths {tree_paths[file]}")
    for o in folders:
        name = decode(data(o["name"]), o["encoding"])
        shown_path = decode(data(o["path"]), o["encoding"])
        if not shown_path.endswith(name.replace("\\", "\\\\").replace("/", "\\/")):
            fail(f"tree --json names {name!r} at {shown_path!r}")
        if o["depth"] != shown_path.replace("\\/", "").count("/"):
            fail(f"tree --json puts {shown_path!r} at depth {o['depth']}")
    trash = [o for o in folders if data(o["name"]) == b"Trash"]
    if len(trash) != 1 or data(trash[0]["key"]) != b"F3" or data(trash[0]["function"]) != b"Move":
        fail(f"tree --json gives the Trash as {trash}")
    if [o["key"] for o in folders if data(o["name"]) != b"Trash"] != [None] * (len(folders) - 1):
        fail("tree --json gives a key to a folder without one")
    if [decode(data(o["path"]), o["encoding"]) for o in folders if o["selected"]] != ["Main"]:
        fail(f"tree --json {file} selects {[o['path'] for o in folders if o['selected']]}")

# What --json does not go with is refused; an empty result is no output at all.
cli("grep", "--json", "-c", "utf8.not", "word", status=2)
cli("tree", "--json", "--paths", "utf8.not", status=2)
if cli("grep", "--json", "utf8.not", "nowhere", status=1) != b"":
    fail("grep --json without a match printed something")

if failures:
    sys.exit(1)
print("all passed")
