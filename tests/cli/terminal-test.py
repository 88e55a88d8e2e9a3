#!/usr/bin/env python3
"""What quillbox-cli prints to a terminal, on pseudo-terminals: a notebook's escape sequences,
C1 controls, bidirectional overrides and line separators are shown, never obeyed, through every
command that prints what a notebook holds, on standard output and standard error; and bash
completes folder paths inside quotes so that the line runs.
Usage: terminal-test.py QUILLBOX-CLI COMPLETION-SCRIPT"""

import os
import pty
import re
import select
import subprocess
import sys
import tempfile
import time
import tty

CLI = os.path.realpath(sys.argv[1])
COMPLETION = os.path.realpath(sys.argv[2])
failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def run(args, out_tty=True, err_tty=True, env=None):
    """Runs a command with standard output and error each on a terminal of its own or a pipe;
    returns its status and both streams' bytes."""
    ends = {}
    child = {}
    for name, wanted in (("out", out_tty), ("err", err_tty)):
        if wanted:
            master, slave = pty.openpty()
            tty.setraw(slave)
        else:
            master, slave = os.pipe()
        ends[name] = master
        child[name] = slave
    process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=child["out"], stderr=child["err"],
                               env=env or ENV)
    for slave in child.values():
        os.close(slave)
    got = {name: b"" for name in ends}
    open_ends = dict(ends)
    while open_ends:
        ready, _, _ = select.select(list(open_ends.values()), [], [], 30)
        if not ready:
            fail(f"{args} printed nothing for 30 s")
            process.kill()
            break
        for name, fd in list(open_ends.items()):
            if fd not in ready:
                continue
            try:
                chunk = os.read(fd, 65536)
            except OSError:  # a terminal whose other end closed
                chunk = b""
            if chunk:
                got[name] += chunk
            else:
                os.close(fd)
                del open_ends[name]
    return process.wait(), got["out"], got["err"]


work = tempfile.mkdtemp()
os.chdir(work)
# Colour off but where a row asks for it: a notebook's own colour sequence would hide among it.
ENV = dict(os.environ, LC_ALL="C.UTF-8", NO_COLOR="1", TERM="xterm")
ENV.pop("LANGUAGE", None)

ESC, BEL = "\x1b", "\x07"
# A folder name and a note that would set the title, clear the screen, write the clipboard
# (OSC 52), send CSI as one C1 byte, turn the line around (RLO, LRI) and break it (LS, PS).
NAME = f"Evil{ESC}]0;owned{BEL} \u009b2J caf\u00e9 \u202etxt.exe\u2066"
NOTE = f"clip{ESC}]52;c;aGk={BEL} wipe{ESC}[2J \u009b2J \u202egnp.exe\u2066 ls\u2028ps\u2029 caf\u00e9"
NAME_SHOWN = "Evil^[]0;owned^G \\u009B2J caf\u00e9 \\u202Etxt.exe\\u2066"
# The note but its last word, which the merge's two sides change.
CHANGED_SHOWN = "clip^[]52;c;aGk=^G wipe^[[2J \\u009B2J \\u202Egnp.exe\\u2066 ls\\u2028ps\\u2029"
NOTE_SHOWN = CHANGED_SHOWN + " caf\u00e9"
PATH = "Main/" + NAME
# What a terminal must never get raw: ESC, BEL, C1 controls, the bidirectional controls and
# the separators, in UTF-8.
RAW = [b"\x1b", b"\x07", b"\xc2\x9b", b"\xe2\x80\xae", b"\xe2\x81\xa6", b"\xe2\x80\xa8", b"\xe2\x80\xa9"]
COLOUR = re.compile(rb"\x1b\[[0-9;]*m")


def setup(args):
    status, out, err = run([CLI] + args, out_tty=False, err_tty=False)
    if status != 0:
        fail(f"setting up: {args} exited {status}: {err!r}")


setup(["new", "evil.not"])
setup(["add", "--create", "evil.not", PATH, NOTE])
setup(["new", "plain.not"])
setup(["add", "--create", "plain.not", "Main/Plain", "calm"])
# Both sides change the evil note: a conflict whose report quotes the path, the header and the labels.
with open("evil.not", "rb") as f:
    evil = f.read()
with open("ours.not", "wb") as f:
    f.write(evil.replace(b"caf\xc3\xa9\r\n", b"ours\r\n", 1))
with open("theirs.not", "wb") as f:
    f.write(evil.replace(b"caf\xc3\xa9\r\n", b"theirs\r\n", 1))
# A record without its number of children: check's report quotes the folder's name.
with open("damaged.not", "wb") as f:
    at = evil.index(b"Evil")
    f.write(evil[:at] + evil[at:].replace(b"Number of Children\r\n0\r\n", b"", 1))

# check quotes a line with its C0 controls as "?".
CHECK_SHOWN = NAME_SHOWN.replace("^[", "?").replace("^G", "?")
LABEL = f"my{ESC}]0;label{BEL}\u202eside"
LABEL_SHOWN = "my^[]0;label^G\\u202Eside"
HEADER = re.search(rb"------ [^\r]* ------", evil).group().decode()

# Each row: the command's words, which stream is a terminal ("out", "err", "both", "pipe": none),
# the stream looked at, and what it must show.
rows = [
    (["tree", "evil.not"], "both", "out", "  " + NAME_SHOWN),
    (["tree", "--paths", "evil.not"], "both", "out", "Main/" + NAME_SHOWN),
    (["cat", "evil.not", PATH], "both", "out", NOTE_SHOWN),
    (["grep", "evil.not", "clip"], "both", "out", f"Main/{NAME_SHOWN}\t{HEADER}\t{NOTE_SHOWN}"),
    (["grep", "-o", "-E", "evil.not", "clip.*exe"], "both", "out", f"Main/{NAME_SHOWN}\t{HEADER}\t"
     "clip^[]52;c;aGk=^G wipe^[[2J \\u009B2J \\u202Egnp.exe"),
    (["grep", "-n", "-C", "1", "evil.not", "plain.not", "clip"], "both", "out", f"evil.not\tMain/{NAME_SHOWN}\t{HEADER}\t1-\t{HEADER}"),
    (["grep", "-v", "evil.not", "calm"], "both", "out", f"Main/{NAME_SHOWN}\t\t{NAME_SHOWN}"),
    (["grep", "--color=always", "evil.not", "wipe"], "both", "out", "wipe"),
    (["grep", "--json", "evil.not", "clip"], "both", "out", '"text":{"text":"clip\\u001B]52;c;aGk=\\u0007'),
    (["export", "--format", "text", "evil.not"], "both", "out", NOTE_SHOWN),
    (["export", "--format", "markdown", "evil.not", PATH], "both", "out", NOTE_SHOWN),
    (["resave", "evil.not", "-"], "both", "out", NOTE_SHOWN),
    (["check", "damaged.not"], "both", "out", CHECK_SHOWN),
    (["check", "--repair", "-", "damaged.not"], "both", "out", "Folder Name\r\n" + NAME_SHOWN),
    (["check", "--repair", "-", "damaged.not"], "both", "err", CHECK_SHOWN),
    (["diff", "plain.not", "evil.not"], "both", "out", NOTE_SHOWN),
    (["diff", "evil.not", "evil.not", "1" * 40, "100644", "ours.not", "2" * 40, "100644"], "pipe", "out", CHANGED_SHOWN),
    (["merge", "-o", "-", "evil.not", "ours.not", "theirs.not"], "both", "out", CHANGED_SHOWN),
    (["merge", "-o", "merged.not", "-L", LABEL, "evil.not", "ours.not", "theirs.not"], "both", "err",
     f"Main/{NAME_SHOWN}\t{HEADER}\tconflict: "),
    (["merge", "-o", "merged.not", "-L", LABEL, "evil.not", "ours.not", "theirs.not"], "pipe", "err", LABEL_SHOWN),
    (["merge", "--raw", "-o", "merged.not", "-L", LABEL, "evil.not", "ours.not", "theirs.not"], "pipe", "err", NAME_SHOWN),
    (["cat", "evil.not", PATH + "/none"], "both", "err", NAME_SHOWN + "/none"),
    (["cat", f"no{ESC}]0;x{BEL}.not", "Main"], "both", "err", "no^[]0;x^G.not"),
]
for words, ttys, stream, shown in rows:
    status, out, err = run([CLI] + words, out_tty=ttys in ("out", "both"), err_tty=ttys in ("err", "both"))
    got = out if stream == "out" else err
    text = COLOUR.sub(b"", got) if "--color=always" in words else got
    where = f"{' '.join(map(repr, words))} (terminals: {ttys}), its standard {stream}"
    if shown.encode() not in text:
        fail(f"{where} does not show [{shown}]: {got!r}")
    leaked = [raw for raw in RAW if raw in text]
    if leaked:
        fail(f"{where} passes {leaked} to the terminal: {got!r}")

# What is not shown: a pipe and --raw get the bytes.
status, out, err = run([CLI, "cat", "evil.not", PATH], out_tty=False, err_tty=False)
if NOTE.encode() not in out:
    fail(f"cat into a pipe changed the note: {out!r}")
status, out, err = run([CLI, "cat", "--raw", "evil.not", PATH])
if NOTE.encode() not in out:
    fail(f"cat --raw on a terminal did not keep the note's bytes: {out!r}")
# Colour is for a terminal, and not where NO_COLOR is set or --raw asks for the bytes.
for words, env, coloured in [
    (["grep", "plain.not", "calm"], dict(ENV, NO_COLOR=""), True),
    (["grep", "plain.not", "calm"], ENV, False),
    (["grep", "--raw", "plain.not", "calm"], dict(ENV, NO_COLOR=""), False),
    (["grep", "--color=never", "plain.not", "calm"], dict(ENV, NO_COLOR=""), False),
    (["grep", "--color", "plain.not", "calm"], dict(ENV, NO_COLOR="", TERM="dumb"), False),
]:
    status, out, err = run([CLI] + words, env=env)
    if bool(COLOUR.search(out)) != coloured or b"calm" not in COLOUR.sub(b"", out):
        fail(f"{words} with NO_COLOR={env.get('NO_COLOR')!r} TERM={env.get('TERM')!r} printed {out!r}")
# In the C locale a character beyond ASCII is shown by its number.
status, out, err = run([CLI, "tree", "evil.not"], env=dict(ENV, LC_ALL="C"))
if NAME_SHOWN.replace("\u00e9", "\\u00E9").encode() not in out:
    fail(f"tree in the C locale shows {out!r}")

# Completion on a real bash: Tab inside an open quote completes the folder path and closes the
# quote, so that Return runs the command (a continuation prompt would show an open quote).
paths = ["Main/it's", 'Main/qu"ote', "Main/do$llar", "Main/ba`ck", "Main/sl\\/ash", "Main/ex!cl", "Main/star  *"]
setup(["new", "my notes.not"])
for path in paths:
    setup(["add", "--create", "my notes.not", path, "note of " + path])
os.mkdir("bin")
os.symlink(CLI, "bin/quillbox-cli")


def complete(typed):
    """Whether an interactive bash runs the line when `typed`, Tab and Return are typed, and what
    it printed."""
    pid, fd = pty.fork()
    if pid == 0:
        os.environ.update(ENV, PATH=work + "/bin:" + os.environ["PATH"], PS1="READY$ ", PS2="CONTINUED> ",
                          INPUTRC="/dev/null")
        os.execvp("bash", ["bash", "--norc", "--noprofile", "-i"])
    seen = b""

    # Reads until one of the markers has come, and returns it; what came up to its end is read.
    def wait_for(*markers):
        nonlocal seen
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            for marker in markers:
                if marker in seen:
                    at = seen.index(marker) + len(marker)
                    read.append(seen[:at])
                    seen = seen[at:]
                    return marker
            ready, _, _ = select.select([fd], [], [], 0.5)
            if ready:
                try:
                    seen += os.read(fd, 65536)
                except OSError:
                    break
        return None

    read = []
    wait_for(b"READY$ ")
    # The words echoed as typed hold no "SOURCED": only the echo's output does.
    os.write(fd, f"source '{COMPLETION}'; echo SOUR\"\"CED\n".encode())
    wait_for(b"SOURCED")
    wait_for(b"READY$ ")
    read.clear()
    # Readline completes at the Tab before it reads the Return after it.
    os.write(fd, typed.encode() + b"\t\n")
    ran = wait_for(b"READY$ ", b"CONTINUED> ") == b"READY$ "
    os.write(fd, b"\x03exit\n")
    os.close(fd)
    os.waitpid(pid, 0)
    return ran, b"".join(read)


for path in paths:
    name = path[len("Main/"):]
    for quote in ['"', "'"]:
        typed = f"quillbox-cli cat \"my notes.not\" {quote}Main/{name[:2]}"
        ran, seen = complete(typed)
        if not ran or f"note of {path}".encode() not in seen:
            fail(f"completing [{typed}] and Return did not run cat on {path}: {seen!r}")

if failures:
    sys.exit(1)
print("all passed")
