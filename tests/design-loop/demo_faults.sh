#!/bin/sh
# make demo (run-demo.sh) with something going wrong under it, over the
# folders of a first run that the user has added to: a mv first on PATH that
# fails part way when the user's folder is moved aside, or fails to move one
# of the user's files back (a file named -n, beside one named \c); a program
# of the demo that fails; a subfolder both the demo and the user write in; a
# demo folder that is a symbolic link or a file.
# Nothing of the user's is lost or changed, each fault is said in one line,
# and the run's status says it. Last, the closing text's commands for work
# by hand, run twice over a build folder whose name needs quoting.
# Usage: demo_faults.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$(cd "$1" && pwd)
src=$2
work=$3
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work"
fail() { echo "$*"; exit 1; }
real_mv=$(command -v mv)
case=$work/case
demo=$case/demo

mkdir -p "$case"
ln -s "$bin" "$case/bin"
sh "$src/examples/run-demo.sh" "$case" > "$work/first.log"
mv "$demo" "$work/first"

start() {  # start: the first run's folders, the user's files added, a copy of them kept as before/
  rm -rf "$demo" "$work/before" "$work/stubs"
  cp -R "$work/first" "$demo"
  echo "my notes" > "$demo/gridedit/notes.txt"
  echo "a dash" > "$demo/gridedit/-n"
  echo "a backslash" > "$demo/gridedit/\\c"
  echo "mine" > "$demo/hydrosum/fort.21"
  cp -R "$demo" "$work/before"
  mkdir "$work/stubs"
}
run() {  # run [PATH]: run-demo.sh on the case, PATH as given; rc, out.log, err.log
  rc=0
  PATH=${1:-$PATH} sh "$src/examples/run-demo.sh" "$case" > "$work/out.log" 2> "$work/err.log" || rc=$?
}
expect() {  # expect <what> <status> <line>...: the run's status and its lines on stderr
  what=$1
  [ "$rc" = "$2" ] || fail "$what: status $rc, not $2: $(cat "$work/err.log")"
  shift 2
  printf '%s\n' "$@" | diff - "$work/err.log" || fail "$what: stderr differs (< expected, > printed)"
}
same() {  # same <what>: the case's folders as before/, nothing held left over
  diff -r "$work/before" "$demo" || fail "$1: the folders differ from what they were"
  [ "$(ls "$case")" = "$(printf 'bin\ndemo')" ] || fail "$1: left in the build folder: $(ls "$case")"
}

# A program of the demo that fails: the demo stops at it with one line naming
# it and its status, and its folder is put back as it was (the folders done
# before it are the demo's again, the user's files in them kept).
# program  its folder   its run  lines (|) before the folder's own
while read -r program folder when lines; do
  start
  rm "$case/bin"
  mkdir "$case/bin"
  for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
  rm "$case/bin/$program"
  # the stub fails in its folder, on its first run there or (second) once transcript-1.txt is written
  printf '#!/bin/sh\ncase $PWD in */demo/%s) if [ %s = first ] || [ -s transcript-1.txt ]; then exit 3; fi ;; esac\nexec "%s" "$@"\n' \
    "$folder" "$when" "$bin/$program" > "$case/bin/$program"
  chmod +x "$case/bin/$program"
  run
  set -f
  IFS='|'
  # shellcheck disable=SC2086
  set -- $lines
  unset IFS
  set +f
  expect "$program failing in $folder" 3 "$@" "make demo stopped: $demo/$folder as it was before"
  same "$program failing in $folder"
  rm "$case/bin"/*
  rmdir "$case/bin"
  ln -s "$bin" "$case/bin"
done <<'TABLE'
gridedit  gridedit     first    the gridedit demo failed: gridedit < keel.answers > keel.transcript ended with status 3
hydrosum  hydrosum     second   the hydrosum demo failed: hydrosum < deck.txt > transcript-2.txt ended with status 3
keelcut   intersect    first    keelcut < keelcut.answers > keelcut.transcript ended with status 3|the intersect demo failed (status 3)
meshdump  convert      first    meshdump < meshdump.answers > meshdump.transcript ended with status 3|the convert demo failed (status 3)
runplan   design-loop  first    runplan < runplan.answers > runplan.transcript ended with status 3|the design-loop demo failed (status 3)
TABLE

# hydrosum's folder moved aside part way (one file moved, then a full disk):
# not held, so nothing is removed; the file moved goes back
start
printf '#!/bin/sh\nif [ "$1" = "%s" ]; then\n  mkdir -p "$2" && "%s" "$1/fort.21" "$2/"\n  echo "mv: no space left on device" >&2\n  exit 1\nfi\nexec "%s" "$@"\n' \
  "$demo/hydrosum" "$real_mv" "$real_mv" > "$work/stubs/mv"
chmod +x "$work/stubs/mv"
run "$work/stubs:$PATH"
expect "hydrosum's folder moved aside part way" 1 "mv: no space left on device" \
  "make demo stopped: $demo/hydrosum could not be set aside; it is left as it is"
same "hydrosum's folder moved aside part way"

# the user's file -n that mv cannot put back: it stays where it was held, and
# one line names it there; the next run puts it back before it starts
start
printf '#!/bin/sh\ncase $1 in */-n) echo "mv: permission denied" >&2; exit 1 ;; esac\nexec "%s" "$@"\n' "$real_mv" > "$work/stubs/mv"
chmod +x "$work/stubs/mv"
run "$work/stubs:$PATH"
held=$(cd "$demo" && echo .make-demo-held.*)
[ -d "$demo/$held/gridedit" ] || fail "-n not put back: no held folder ($held)"
expect "-n not put back" 1 "mv: permission denied" \
  "make demo: left in $demo/$held/gridedit, not put back into $demo/gridedit: -n"
[ "$(cat "$demo/$held/gridedit/-n")" = "a dash" ] || fail "-n not put back: not as the user left it"
[ "$(ls -A "$demo/$held/gridedit")" = "-n" ] || fail "-n not put back: held besides: $(ls -A "$demo/$held/gridedit")"
grep -qxF "kept in $demo/gridedit, not written by the demo: \\c, notes.txt" "$work/out.log" ||
  fail "-n not put back: no kept line for the others: $(grep '^kept' "$work/out.log")"
run
expect "the run after -n was not put back" 0 "make demo: put back in $demo/gridedit what an earlier make demo had set aside"
printf '%s\n' "kept in $demo/gridedit, not written by the demo: -n, \\c, notes.txt" \
  "kept in $demo/hydrosum, not written by the demo: fort.21" > "$work/kept.expected"
grep '^kept' "$work/out.log" | diff "$work/kept.expected" - ||
  fail "the run after -n was not put back: kept lines differ (< expected, > printed)"
grep -v '^kept' "$work/out.log" | diff "$work/first.log" - || fail "the run after -n was not put back: printed otherwise than the first"
same "the run after -n was not put back"

# a subfolder that both the demo and the user write in: merged name by name,
# the user's file in it kept, the demo's written again
start
echo "mine" > "$work/mine.txt"
mkdir -p "$demo/convert/plots"
cp "$work/mine.txt" "$demo/convert/plots/mine.txt"
echo "edited by the user" > "$demo/convert/plots/demo.txt"
rm "$case/bin"
mkdir "$case/bin"
for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
rm "$case/bin/gridplot"
printf '#!/bin/sh
mkdir -p plots && echo "written by the demo" > plots/demo.txt
exec "%s" "$@"
' "$bin/gridplot" \
  > "$case/bin/gridplot"
chmod +x "$case/bin/gridplot"
run
[ "$rc" = 0 ] && [ ! -s "$work/err.log" ] || fail "a subfolder both write in: status $rc: $(cat "$work/err.log")"
cmp -s "$work/mine.txt" "$demo/convert/plots/mine.txt" || fail "a subfolder both write in: the user's file lost"
[ "$(cat "$demo/convert/plots/demo.txt")" = "written by the demo" ] || fail "a subfolder both write in: the demo's file not written again"
grep -qxF "kept in $demo/convert, not written by the demo: plots/mine.txt" "$work/out.log" ||
  fail "a subfolder both write in: no kept line naming plots/mine.txt: $(grep '^kept' "$work/out.log")"
[ "$(ls "$case")" = "$(printf 'bin\ndemo')" ] || fail "a subfolder both write in: left in the build folder: $(ls -A "$case")"
rm "$case/bin"/*
rmdir "$case/bin"
ln -s "$bin" "$case/bin"

# a demo folder that is a symbolic link, and one that is a file: each left as
# it is, said in one line, its demo not run; the others run
start
rm -rf "$demo/convert" "$demo/intersect" "$work/before/convert" "$work/before/intersect"
mkdir "$work/mine"
echo "my own convert work" > "$work/mine/boat.plt"
ln -s "$work/mine" "$demo/convert"
echo "my intersect notes" > "$demo/intersect"
cp -R "$work/mine" "$work/mine.before"
run
expect "a link and a file for demo folders" 1 \
  "make demo: $demo/intersect is not a folder, left as it is; its demo is not run" \
  "make demo: $demo/convert is a symbolic link, left as it is; its demo is not run"
[ "$(readlink "$demo/convert")" = "$work/mine" ] || fail "the link for convert/ is not kept"
diff -r "$work/mine.before" "$work/mine" || fail "the link's folder changed"
[ "$(cat "$demo/intersect")" = "my intersect notes" ] || fail "the file for intersect/ changed"
grep -q '^intersect demo:\|^converters demo:' "$work/out.log" && fail "a demo ran in a folder left out"
grep -q '^design loop in ' "$work/out.log" || fail "the demos after the folders left out did not run"
rm "$demo/convert" "$demo/intersect"
same "a link and a file for demo folders"

# the closing text's commands for hand work, for a build folder whose name
# needs quoting, run twice: the same copy of the design loop each time (not
# one inside the other), the programs first on PATH
odd=$work/"it's \"my\" \$build"
mkdir -p "$odd" "$work/home"
ln -s "$bin" "$odd/bin"
sh "$src/examples/run-demo.sh" "$odd" > "$work/odd.log"
printf '%s\n' "                 mkdir -p ~/design-loop && cp -R '$work/it'\\''s \"my\" \$build/demo/design-loop'/. ~/design-loop/" \
  "                 cd ~/design-loop && export PATH='$work/it'\\''s \"my\" \$build/bin':\"\$PATH\"" > "$work/commands.expected"
sed -n '/^  by hand:/{n;p;n;p;}' "$work/odd.log" | diff "$work/commands.expected" - ||
  fail "the commands for hand work differ (< expected, > printed)"
for time in first second; do
  found=$(HOME=$work/home sh -c "$(cat "$work/commands.expected"); command -v surfmesh") ||
    fail "the commands for hand work, run a $time time, failed"
  [ "$found" = "$odd/bin/surfmesh" ] || fail "the commands for hand work, run a $time time: surfmesh is $found"
  diff -r "$odd/demo/design-loop" "$work/home/design-loop" || fail "the copy for hand work, made a $time time, differs"
done
echo "make demo with its moves, programs and folders failing: nothing of the user's lost, each said in one line"
