#!/bin/bash
# Notebooks in git: two branches that changed one notebook merge through quillbox-cli's merge
# driver, and git diff lists folders and notes through its diff driver, with the lines the
# README gives. Usage: git-merge-test.sh QUILLBOX-CLI
set -u
Q=$(realpath -- "$1")
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

export GIT_CONFIG_NOSYSTEM=1 HOME=$WORK GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@t GIT_COMMITTER_NAME=t GIT_COMMITTER_EMAIL=t@t
git init -q -b main repo && cd repo || exit 1
echo '*.not merge=quillbox diff=quillbox' >.gitattributes
git config merge.quillbox.name "Quillbox notebook merge"
git config merge.quillbox.driver "'$Q' merge -L ours -L theirs --notebook %P %O %A %B"
git config diff.quillbox.command "'$Q' diff"

"$Q" new nb.not
"$Q" add --create nb.not Main/Ideas "an idea"
"$Q" add nb.not Main/Ideas "a second idea"
"$Q" add --create nb.not Main/Work "a task"
git add . && git commit -qm base

# Each branch changes other folders and notes: the merge is clean.
git checkout -qb laptop
"$Q" add nb.not Main/Ideas "from the laptop"
"$Q" add --create nb.not Main/Work/Sub "made on the laptop"
git commit -qam laptop
git checkout -q main
"$Q" add nb.not Main/Work "from the desktop"
"$Q" add --create nb.not Main/Trips "a trip"
git commit -qam desktop
git merge -q --no-edit laptop >"$WORK/merge-out" 2>&1 || fail "a clean merge failed: $(cat "$WORK/merge-out")"
[ "$("$Q" tree nb.not)" == "Main  *
  Ideas
  Trips
  Work
    Sub
Trash  [F3 Move]" ] || fail "the merged tree is $("$Q" tree nb.not)"
for note in "an idea" "a second idea" "from the laptop" "a task" "from the desktop" "made on the laptop" "a trip"; do
    [ "$("$Q" grep nb.not "$note" | wc -l)" -eq 1 ] || fail "the note \"$note\" is not there once"
done
"$Q" check nb.not >/dev/null || fail "the merged notebook is damaged: $("$Q" check nb.not)"
[ -z "$(git status --porcelain)" ] || fail "the merge left files: $(git status --porcelain)"

# git diff through the driver names the folder and the note.
git diff HEAD~1 HEAD >"$WORK/diff-out" 2>&1 || fail "git diff failed: $(cat "$WORK/diff-out")"
grep -q "^folder added: Main/Work/Sub$" "$WORK/diff-out" || fail "git diff does not list the new folder: $(cat "$WORK/diff-out")"
grep -q "^note added: Main/Ideas" "$WORK/diff-out" || fail "git diff does not list the new note: $(cat "$WORK/diff-out")"

# Both branches change the same line of one note: git stops, and the notebook holds both.
git checkout -qb other
sed -i 's/^an idea\r$/an idea, seen on the laptop\r/' nb.not
git commit -qam other
git checkout -q main
sed -i 's/^an idea\r$/an idea, seen on the desktop\r/' nb.not
git commit -qam main
git merge --no-edit other >"$WORK/merge-out" 2>&1 && fail "a merge with a conflict succeeded"
grep -q "CONFLICT" "$WORK/merge-out" || fail "git does not report the conflict: $(cat "$WORK/merge-out")"
"$Q" cat nb.not Main/Ideas >"$WORK/ideas"
grep -q "an idea, seen on the desktop" "$WORK/ideas" && grep -q "an idea, seen on the laptop" "$WORK/ideas" \
    || fail "a version of the note is lost: $(cat "$WORK/ideas")"
grep -q "this version is from theirs, the one above from ours" "$WORK/ideas" || fail "the second version does not say whose it is"
grep -q "^<<<<<<<\|^=======" nb.not && fail "the notebook holds git's conflict markers"
"$Q" check nb.not >/dev/null || fail "the notebook with a conflict is damaged"
# During the conflict git runs the diff driver with the path alone.
for side in --ours --theirs --base; do
    git diff $side >"$WORK/diff-out" 2>&1 || fail "git diff $side failed: $(cat "$WORK/diff-out")"
    grep -q "^\* Unmerged path nb.not$" "$WORK/diff-out" || fail "git diff $side says $(cat "$WORK/diff-out")"
done
git merge --abort

# Both branches added the same notebook: git gives the driver an empty base. Made here, the
# notebook's history holds the new notebook both went on from, and the merge is clean; with no
# such history the two merge as a union, a conflict that stops git with both in the file.
for history in kept none; do
    git checkout -qb "added-there-$history"
    "$Q" new added.not
    "$Q" add added.not Main "added there"
    git add added.not && git commit -qm "added there"
    git checkout -q main
    "$Q" new added.not
    "$Q" add --create added.not Main/Here "added here"
    git add added.not && git commit -qm "added here"
    if [ "$history" = kept ]; then
        git merge -q --no-edit "added-there-$history" >"$WORK/merge-out" 2>&1 || fail "an add/add merge failed: $(cat "$WORK/merge-out")"
    else
        XDG_STATE_HOME=$WORK/no-history git merge -q --no-edit "added-there-$history" >"$WORK/merge-out" 2>&1 \
            && fail "an add/add merge with no history did not stop"
        grep -q "conflict: no version both ours and theirs went on from is kept" "$WORK/merge-out" \
            || fail "the add/add merge does not say why it stopped: $(cat "$WORK/merge-out")"
    fi
    for note in "added there" "added here"; do
        [ "$("$Q" grep added.not "$note" | wc -l)" -eq 1 ] || fail "the note \"$note\" is not there once after add/add ($history)"
    done
    [ "$history" = none ] && git merge --abort
    git rm -q added.not && git commit -qm "no notebook again"
done

# The commands by hand: errors write nothing, --union keeps both, diff says whether they differ.
cd "$WORK" || exit 1
"$Q" new base.not
cp base.not ours.not
"$Q" add ours.not Main "ours"
cp ours.not before.not
"$Q" merge base.not ours.not missing.not 2>err; [ $? -eq 2 ] || fail "a missing notebook does not end with 2"
cmp -s ours.not before.not || fail "a failed merge changed OURS"
"$Q" merge -L a -L b -L c base.not ours.not base.not 2>err; [ $? -eq 2 ] || fail "three labels do not end with 2"
printf 'not a notebook' >bad.not
"$Q" merge base.not ours.not bad.not 2>err; [ $? -eq 2 ] || fail "a file that is no notebook does not end with 2"
cmp -s ours.not before.not || fail "a failed merge changed OURS"
cp base.not theirs.not
"$Q" add theirs.not Main "theirs"
"$Q" merge --union -o union.not ours.not theirs.not || fail "merge --union failed"
[ "$("$Q" grep union.not '^(ours|theirs)$' -E | wc -l)" -eq 2 ] || fail "merge --union lost a note: $("$Q" cat union.not Main)"
"$Q" diff base.not base.not >/dev/null || fail "diff of a notebook with itself is not 0"
"$Q" diff base.not ours.not >/dev/null; [ $? -eq 1 ] || fail "diff of different notebooks is not 1"

[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))
