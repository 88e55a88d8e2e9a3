#!/bin/bash
# The commands of quillbox-cli end to end: their output, the files they write and their exit
# statuses. Usage: cli-test.sh QUILLBOX-CLI TEST-DATA-DIR
set -u
Q=$(realpath -- "$1")
DATA=$(realpath -- "$2")
COMPLETION=$(cd "$(dirname "$0")/../.." && pwd)/res/linux/quillbox-cli.bash
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0
# The messages in English, whatever the language of the user running the tests.
export LC_ALL=C.UTF-8
unset LANGUAGE

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS COMMAND...: runs the command, its output in out and its errors in err.
expect() {
    local want=$1
    shift
    "$@" >out 2>err
    local got=$?
    [ "$got" -eq "$want" ] || fail "$* exited $got, not $want; stderr: $(cat err)"
}

# same EXPECTED-TEXT FILE
same() {
    [ "$1" == "$(cat "$2")" ] || fail "$2 holds [$(cat "$2")], not [$1]"
}

today=$(date +%m/%d/%y)
header="------ New Note $today ------"
CR=$'\r'

# add: a header as Shift+Return makes it, the body with CR LF; missing folders with --create.
expect 0 "$Q" new nb.not
expect 1 "$Q" new nb.not
expect 0 "$Q" add nb.not Main "first"
printf 'two\nlines' | expect 0 "$Q" add --create nb.not 'Main/a\/b/café x'
expect 1 "$Q" add nb.not Main/missing "text"
expect 1 "$Q" add --create nb.not Top/x "text"
expect 1 "$Q" add --create nb.not Trash/x "text"
expect 0 "$Q" cat nb.not Main
same "$header$CR
$header$CR
first$CR" out
expect 0 "$Q" cat nb.not 'Main/a\/b/café x'
same "$header$CR
two$CR
lines$CR" out
expect 0 "$Q" tree nb.not
same "Main  *
  a/b
    café x
Trash  [F3 Move]" out

# grep: path, header and line by tabs; 0 matched, 1 none, 2 trouble.
expect 0 "$Q" grep -n nb.not lines
same "Main/a\\/b/café x	$header	3	lines" out
expect 0 "$Q" grep -i --path 'Main/a\/b' nb.not 'A/B'
same "Main/a\\/b		a/b" out
expect 1 "$Q" grep nb.not LINES
expect 1 "$Q" grep -w nb.not line
expect 0 "$Q" grep -E nb.not '^l[a-z]+s$'
# Counts within counts are taken, as GNU grep takes them; a pattern of words finds what it names.
expect 1 "$Q" grep -E nb.not '(x{100}){100}'
expect 0 "$Q" grep -E nb.not 'none|lines|other'
same "Main/a\\/b/café x	$header	lines" out
expect 2 "$Q" grep -E nb.not '('
expect 2 "$Q" grep -E nb.not '(l)\1'
expect 2 "$Q" grep nb.not lines --path Main/none
expect 2 "$Q" grep missing.not lines
expect 0 "$Q" grep -q nb.not lines
[ -s out ] && fail "grep -q printed [$(cat out)]"

# grep's options as grep and ripgrep mean them, over notes of a notebook and several notebooks.
expect 0 "$Q" new g.not
expect 0 "$Q" add g.not Main "$(printf 'alpha one\nbeta two\nalpha beta')"
expect 0 "$Q" add g.not Main "$(printf 'gamma\ndelta alpha\nepsilon')"
expect 0 "$Q" add --create g.not Main/Beta "zeta"
cp g.not g2.not
h=$header
# STATUS|WORDS|OUTPUT, the output's lines each ended by "~" and its tabs written ">".
while IFS='|' read -r want words output; do
    # shellcheck disable=SC2086
    expect "$want" "$Q" grep $words
    got=$(tr '\t\n' '>~' <out)
    [ "$got" == "$output" ] || fail "grep $words printed [$got], not [$output]"
done <<EOF
0|-n g.not alpha|Main>$h>3>alpha one~Main>$h>5>alpha beta~Main>$h>8>delta alpha~
0|-c g.not alpha|3~
0|-c -v g.not alpha|11~
0|-c -x g.not gamma|1~
0|-x g.not epsilon|Main>$h>epsilon~
1|-x g.not epsilo|
0|-x -i g.not beta|Main/Beta>>Beta~
0|-o -n g.not ta|Main>$h>4>ta~Main>$h>5>ta~Main>$h>8>ta~Main/Beta>>0>ta~Main/Beta>$h>2>ta~
0|-v -n --path Main/Beta g.not z|Main/Beta>>0>Beta~Main/Beta>$h>1>$h~
0|-m 1 -n g.not alpha|Main>$h>3>alpha one~
0|-n -A 1 g.not gamma|Main>$h>7>gamma~Main>$h>8->delta alpha~
0|-n -B 5 g.not gamma|Main>$h>6->$h~Main>$h>7>gamma~
0|-n -C 1 g.not one|Main>$h>2->$h~Main>$h>3>alpha one~Main>$h>4->beta two~
0|-i -n -C 1 g.not beta|Main>$h>3->alpha one~Main>$h>4>beta two~Main>$h>5>alpha beta~--~Main/Beta>>0>Beta~
0|-n -m 1 -A 2 g.not alpha|Main>$h>3>alpha one~Main>$h>4->beta two~Main>$h>5->alpha beta~
0|-l g.not g2.not nb.not zeta|g.not~g2.not~
0|-c g.not nb.not zeta|g.not>1~nb.not>0~
0|g.not g2.not gamma|g.not>Main>$h>gamma~g2.not>Main>$h>gamma~
0|-C 1 g.not g2.not gamma|g.not>Main>$h>$h~g.not>Main>$h>gamma~g.not>Main>$h>delta alpha~--~g2.not>Main>$h>$h~g2.not>Main>$h>gamma~g2.not>Main>$h>delta alpha~
1|g.not g2.not nowhere|
2|g.not missing.not gamma|g.not>Main>$h>gamma~
0|-q missing.not g.not gamma|
2|-q g.not missing.not nowhere|
1|-m 0 g.not gamma|
2|-m x g.not gamma|
2|-C -1 g.not gamma|
2|--color=sometimes g.not gamma|
2|--json -c g.not gamma|
2|g.not|
EOF

# export: fol as Export Folder writes it, which import takes back.
expect 0 "$Q" export --format fol nb.not 'Main/a\/b' -o ab.fol
head -c 26 ab.fol | od -c | grep -q 'B   e   g   i   n' || fail "ab.fol is no folder file"
expect 0 "$Q" new other.not
expect 0 "$Q" import other.not ab.fol Main
expect 0 "$Q" cat other.not 'Main/a\/b/café x'
same "$header$CR
two$CR
lines$CR" out
expect 1 "$Q" import other.not ab.fol Trash
expect 1 "$Q" import other.not "$DATA/folder-truncated-in-child.fol" Main
expect 2 "$Q" export nb.not
expect 2 "$Q" export --format fol nb.not

# HTML is escaped and carries a table of contents; markdown fences what a note holds.
expect 0 "$Q" add nb.not Main '<b>&"</b> ```'
expect 0 "$Q" export --format html nb.not
grep -q '&lt;b&gt;&amp;&quot;&lt;/b&gt;' out || fail "html not escaped"
grep -q '<li><a href="#f2">a/b</a>' out || fail "html has no contents"
expect 0 "$Q" export --format markdown nb.not Main
grep -q '^## a/b$' out || fail "markdown has no folder heading"
grep -q '^````text$' out || fail "markdown fence not longer than the note's backticks"

# Standard input and output: a notebook through a pipe.
"$Q" add - Main "piped" <nb.not >piped.not 2>err || fail "add - failed: $(cat err)"
expect 0 "$Q" grep piped.not piped
expect 0 "$Q" resave nb.not resaved.not
expect 0 "$Q" resave nb.not -
cmp -s out resaved.not || fail "resave to - differs from resave to a file"

# check: sound, damaged with line numbers, and repaired into another file only.
expect 0 "$Q" check nb.not
expect 1 "$Q" check "$DATA/record-missing-child-count.not"
same "$DATA/record-missing-child-count.not:35: \"Number of Children\" is missing in the folder record of line 30 (\"Ideas\"); found \"Folder Text\"" out
cp "$DATA/truncated-inside-record.not" cut.not
cp cut.not cut-before.not
expect 1 "$Q" check --repair repaired.not cut.not
expect 0 "$Q" check repaired.not
expect 2 "$Q" check --repair cut.not cut.not
expect 2 "$Q" check "$DATA/binary-garbage.not"

# A lost "End Folder" line: check finds the record the text swallowed, and --repair - writes
# only the rebuilt notebook to standard output, the report to standard error.
awk '$0 == "a/b\r" { lost = 1 } lost && $0 == "End Folder\r" { lost = 0; next } { print }' nb.not >lost.not
expect 1 "$Q" check lost.not
grep -q '^lost.not:[0-9]*: a folder record ("café x") stands inside the text of the folder record of line [0-9]* ("a/b"): an "End Folder" line may be missing before it$' out ||
    fail "check did not find the lost End Folder: $(cat out)"
expect 0 "$Q" check --repair - lost.not
mv out rebuilt.not
grep -q 'may be missing' err && grep -q '^lost.not: repaired into (standard output); every damage was rebuilt$' err ||
    fail "check --repair - gave no report on standard error: $(cat err)"
expect 0 "$Q" resave nb.not nb-resaved.not
cmp -s rebuilt.not nb-resaved.not || fail "check --repair - did not write the rebuilt notebook alone"
expect 1 "$Q" check --repair - cut.not
grep -q '^cut.not: repaired into (standard output) as far as it could be read; the damage at lines 39, 40 could not be rebuilt$' err ||
    fail "check --repair - did not say what it could not rebuild: $(cat err)"
mv out rescued.not
expect 0 "$Q" check rescued.not

# A notebook read only in part is never written over.
expect 1 "$Q" add cut.not Main "more"
expect 1 "$Q" import cut.not ab.fol Main
expect 1 "$Q" resave cut.not cut.not
expect 2 "$Q" export --format text cut.not -o cut.not
cmp -s cut.not cut-before.not || fail "a damaged notebook was written over"
expect 0 "$Q" grep cut.not idea
grep -q 'warning: The notebook file' err || fail "grep on a damaged notebook gives no warning"

# A Windows-1252 notebook: names and text given in UTF-8 are taken in its bytes, tree and grep
# show UTF-8, and a character the code page lacks turns the notebook to UTF-8, as typing would.
expect 0 "$Q" new legacy.not
expect 0 "$Q" add --create legacy.not Main/Caf "x"
sed -i "s/^Caf\r\$/Caf$(printf '\xe9')\r/" legacy.not
expect 0 "$Q" add legacy.not Main/Café "déjà vu"
grep -q "d$(printf '\xe9')j$(printf '\xe0') vu" legacy.not || fail "the note was not stored in Windows-1252"
expect 0 "$Q" grep legacy.not déjà
same "Main/Café	$header	déjà vu" out
expect 0 "$Q" tree legacy.not
grep -qx '  Café' out || fail "tree did not show the Windows-1252 name in UTF-8: $(cat -v out)"
expect 0 "$Q" log legacy.not Main/Café
grep -q 'folder changed: Main/Café$' out || fail "log did not name the Windows-1252 folder in UTF-8: $(cat -v out)"
expect 0 "$Q" add legacy.not Main/Café "snow ☃"
expect 0 "$Q" cat legacy.not Main/Café
grep -q "déjà vu" out && grep -q "snow ☃" out || fail "the notebook did not turn to UTF-8"

# Output that cannot be written is a failure, with the command's status for trouble, however
# much of it there is (a small output fails only when it is flushed at the end).
head -c 300000 /dev/zero | tr '\0' x | expect 0 "$Q" add nb.not Main
full() {
    local want=$1
    shift
    "$@" >/dev/full 2>err
    local got=$?
    [ "$got" -eq "$want" ] || fail "$* into a full disk exited $got, not $want"
    grep -q 'cannot write the output: No space left on device' err || fail "$* into a full disk says [$(cat err)]"
}
for main in Main 'Main/a\/b'; do
    full 1 "$Q" cat nb.not "$main"
    full 1 "$Q" export --format fol nb.not "$main"
done
for format in text markdown html; do
    full 1 "$Q" export --format "$format" nb.not
done
full 1 "$Q" tree nb.not
full 1 "$Q" resave nb.not -
full 2 "$Q" grep nb.not x
full 2 "$Q" grep nb.not lines
full 2 "$Q" check nb.not
full 1 "$Q" --help

# A notebook replaced by a user who cannot give the new file its group loses the group's rights,
# which were given to that group, not to the user's own: root's 0640 file, written by nobody.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
    shared=$(mktemp -d)
    chmod 1777 "$shared"
    cp nb.not "$shared/group.not"
    chown nobody:root "$shared/group.not"
    chmod 640 "$shared/group.not"
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$Q" add "$shared/group.not" Main "by nobody" >/dev/null 2>err ||
        fail "nobody could not add to its own notebook: $(cat err)"
    [ "$(stat -c %a:%U:%G "$shared/group.not")" == "600:nobody:nogroup" ] ||
        fail "the notebook of group root, rewritten by nobody, is $(stat -c %a:%U:%G "$shared/group.not")"
    rm -rf "$shared"
fi

# Two commands adding to one notebook at once: each waits for the other, and no note is lost.
expect 0 "$Q" new race.not
for folder in A B C D; do
    head -c 500000 /dev/zero | tr '\0' y | expect 0 "$Q" add --create race.not "Main/$folder"
done
for round in $(seq 50); do
    "$Q" add race.not Main/A "first $round" 2>>race-err &
    "$Q" add race.not Main/B "second $round" 2>>race-err || fail "round $round: the second add failed"
    wait $! || fail "round $round: the first add failed: $(cat race-err)"
done
[ -s race-err ] && fail "racing adds said: $(head -3 race-err)"
expect 0 "$Q" grep -E race.not '^(first|second) [0-9]+$'
[ "$(wc -l <out)" -eq 100 ] || fail "racing adds kept $(wc -l <out) notes of 100"

# What a cut save left: an incomplete copy goes; a complete one that differs stops every writer.
expect 0 "$Q" new cut-save.not
head -c 100 nb.not >.cut-save.not.quillbox-save
expect 0 "$Q" add cut-save.not Main "after a save cut early"
[ -e .cut-save.not.quillbox-save ] && fail "an incomplete save copy was left"
cp nb.not .cut-save.not.quillbox-save
expect 1 "$Q" add cut-save.not Main "more"
grep -q 'was cut off and left a complete copy' err || fail "a complete save copy is not mentioned: $(cat err)"
cmp -s nb.not .cut-save.not.quillbox-save || fail "the complete save copy was touched"
# Nor is the file, which may be cut short, read as the notebook; check names the copy.
for command in "1 tree cut-save.not" "1 cat cut-save.not Main" "1 export --format text cut-save.not" \
    "2 grep cut-save.not save" "1 resave cut-save.not elsewhere.not"; do
    expect ${command%% *} "$Q" ${command#* }
    grep -q 'was cut off and left a complete copy' err || fail "$command does not mention the save copy: $(cat err)"
done
[ -e elsewhere.not ] && fail "resave wrote what may be cut short"
expect 1 "$Q" check cut-save.not
grep -q 'a save was cut off and left a complete copy' out || fail "check does not mention the save copy: $(cat out)"

# A command killed while it reads standard input leaves nothing behind.
mkdir tmp
(sleep 5 | TMPDIR=$WORK/tmp "$Q" cat - Main >/dev/null 2>&1 & pid=$!; sleep 0.3; kill -9 $pid; wait $pid) 2>/dev/null
[ -z "$(ls -A tmp)" ] || fail "a killed command left $(ls tmp)"

# history-limit shows and sets the limit in megabytes, kept in a history of its own here; what is
# no whole number from 1 to 1048576 is refused and changes nothing, and a history that cannot be
# reached is a failure, not the default.
limit() { XDG_STATE_HOME=$WORK/limit-state "$Q" history-limit "$@"; }
expect 0 limit
same 1024 out
expect 0 limit 5
expect 0 limit
same 5 out
for given in 0 1048577 x 5x ' 7' 99999999999999999999 -3; do
    expect 2 limit -- "$given"
    same "quillbox-cli: history-limit takes a number of megabytes from 1 to 1048576, not \"$given\"; see quillbox-cli help history-limit" err
done
expect 2 limit 5 6
expect 0 limit
same 5 out
while IFS='|' read -r words said; do
    # shellcheck disable=SC2086
    XDG_STATE_HOME=$WORK/nb.not expect 1 "$Q" history-limit $words
    grep -q "^quillbox-cli: $said" err || fail "history-limit $words without a history says [$(cat err)]"
done <<'EOF'
|Cannot open
7|Cannot set the limit of the history in
EOF

# Help for the program and for each command; an option's value joined to it.
for words in -h help --help "help add" "add --help" "add -h" "--help add" "grep nb.not -h"; do
    # shellcheck disable=SC2086
    expect 0 "$Q" $words
    grep -q '^Usage: quillbox-cli' out || fail "$words gave no help: $(head -3 out)"
done
expect 0 "$Q" help add
grep -q '^Usage: quillbox-cli add \[--create\]' out || fail "help add is not add's help: $(head -1 out)"
expect 2 "$Q" --help x
grep -q 'unknown command "x"' err || fail "help for an unknown command says [$(cat err)]"
expect 0 "$Q" export --format text -ojoined.txt nb.not Main
[ -s joined.txt ] || fail "-ojoined.txt wrote nothing"

# Markdown keeps the depth of folders below the sixth level; the page's title is UTF-8.
expect 0 "$Q" new deep.not
expect 0 "$Q" add --create deep.not Main/1/2/3/4/5/6/7 "deep"
expect 0 "$Q" export --format markdown deep.not
grep -qx '###### 5' out && grep -qx '###### 5/6' out && grep -qx '###### 5/6/7' out || fail "markdown lost the depth: $(grep '^#' out)"
cp deep.not "bad$(printf '\377').not"
expect 0 "$Q" export --format html "bad$(printf '\377').not"
grep -qF '<title>bad�.not</title>' out && iconv -f UTF-8 -t UTF-8 out >/dev/null || fail "the page's title is not UTF-8: $(grep title out | cat -v)"

# Completion offers folder paths from tree --paths -z, after a notebook named in quotes, quoted
# as the word being completed is; with bash-completion's helpers loaded too, where they are.
mkdir bin && ln -s "$Q" bin/quillbox-cli
expect 0 "$Q" new "my notes.not"
for path in "Main/  leading" "Main/star  *" "Main/it's" "Main/a:b"; do
    expect 0 "$Q" add --create "my notes.not" "$path" "x"
done
for helpers in none /usr/share/bash-completion/bash_completion; do
    [ "$helpers" = none ] || [ -f "$helpers" ] || continue
    # LINE|WORD|OFFERED: WORD is the part of the line's last word that the shell replaces.
    while IFS='|' read -r line word offered; do
        got=$(PATH=$WORK/bin:$PATH bash -c '
            [ "$0" = none ] || source "$0"
            source "$1"
            COMP_LINE=$2 COMP_POINT=${#2}
            _quillbox_cli quillbox-cli "$3" ""
            printf "%s\n" "${COMPREPLY[@]}"' "$helpers" "$COMPLETION" "$line" "$word")
        [ "$got" == "$offered" ] || fail "completing [$line] with helpers $helpers offers [$got], not [$offered]"
    done <<'EOF'
quillbox-cli cat 'my notes.not' Main/st|Main/st|Main/star\ \ \*
quillbox-cli cat "my notes.not" Main/\ |Main/\ |Main/\ \ leading
quillbox-cli cat my\ notes.not 'Main/it|Main/it|Main/it'\''s
quillbox-cli add --create 'my notes.not' Main/a:||b
quillbox-cli tree --pa|--pa|--paths
quillbox-cli history-l|history-l|history-limit
quillbox-cli export --format=h|h|html
EOF
done

# The version, as quillbox -v and --version give it; -v after grep is grep's.
for words in --version -v; do
    expect 0 "$Q" $words
    grep -qx 'quillbox-cli [0-9.]*' out || fail "$words printed [$(cat out)]"
    expect 2 "$Q" $words x
    grep -q -- "$words takes no arguments" err || fail "$words x says [$(cat err)]"
done
expect 2 "$Q" frobnicate
expect 2 "$Q" cat nb.not

# In German the messages and the help change; the output and the notebook's bytes do not.
de() { LANGUAGE=de "$@"; }
expect 0 "$Q" tree nb.not
cp out tree-en
expect 0 de "$Q" tree nb.not
cmp -s out tree-en || fail "tree printed [$(cat out)] in German"
expect 0 de "$Q" grep -n nb.not lines
same "Main/a\\/b/café x	$header	3	lines" out
expect 0 "$Q" new en.not
expect 0 "$Q" add --create en.not Main/Ideen "erste"
expect 0 de "$Q" new de.not
expect 0 de "$Q" add --create de.not Main/Ideen "erste"
cmp -s en.not de.not || fail "a notebook made in German differs from one made in English"
expect 1 de "$Q" add de.not Main/fehlt "text"
same "quillbox-cli: „de.not“ hat keinen Ordner „Main/fehlt“; --create legt die fehlenden Ordner an." err
expect 2 de "$Q" tree
same "quillbox-cli: tree nimmt 1 Argument, nicht 0; siehe quillbox-cli help tree" err
# A merge's report keeps its fields and "conflict:" for scripts; only what happened is German.
sed 's/erste/unsere/' en.not >ours.not
sed 's/erste/ihre/' en.not >theirs.not
expect 1 "$Q" merge -o merged-en.not en.not ours.not theirs.not
cut -f1,2 err >fields-en
expect 1 de "$Q" merge -o merged-de.not en.not ours.not theirs.not
cmp -s merged-en.not merged-de.not || fail "a merge in German wrote other bytes"
[ "$(cut -f1,2 err)" == "$(cat fields-en)" ] || fail "the merge's fields in German: [$(cat err)]"
[ "$(cut -f3 err)" == "conflict: beide haben die Notiz geändert: beide Fassungen behalten, zuerst die, die ours hat" ] \
    || fail "the merge's report in German: [$(cat err)]"
expect 0 de "$Q" --help
[ "$(head -1 out)" == "Aufruf: quillbox-cli BEFEHL [OPTIONEN] ARGUMENTE..." ] || fail "the German help begins [$(head -1 out)]"

# A lock file naming another machine's Quillbox (a sync tool copies it with the folder, and the
# name of one that ended stays), or a process of this machine that holds no claim on it, stops no
# writer; another machine's is mentioned. A window of this machine still stops one (tests/gui).
host=$(uname -n)
sh -c 'exit 0' &
gone=$!
wait $gone
expect 0 "$Q" new locked.not
while IFS='|' read -r what names said; do
    printf '%b' "$names" >.locked.not.lock
    expect 0 "$Q" add locked.not Main "$what"
    same "$said" err
    "$Q" cat locked.not Main | grep -q "^$what" || fail "add under a lock of $what wrote nothing"
done <<END
another machine|laptop\n4242\nann\n|quillbox-cli: note: "locked.not" may be open in Quillbox on another machine that shares its folder (on laptop, process 4242, user ann), which cannot be checked from here; writing it all the same.
an ended process here|$host\n$gone\nme\n|
a live process here without a claim|$host\n$$\nme\n|
END
printf 'laptop\n4242\nann\n' >.locked.not.lock
expect 0 de "$Q" add locked.not Main "auf Deutsch"
same "quillbox-cli: Hinweis: „locked.not“ ist vielleicht in Quillbox auf einem anderen Rechner geöffnet, der seinen Ordner teilt (auf laptop, Prozess 4242, Benutzer ann), was sich von hier aus nicht prüfen lässt; es wird trotzdem geschrieben." err

[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
