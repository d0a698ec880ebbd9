#!/bin/sh
# make demo (run-demo.sh) with something going wrong under it, over the
# folders of a first run that the user has added to (notes, a file named -n
# beside one named \c, a file in hydrosum/): a program of the demo that
# fails; a mv that fails part way while a demo's files go into place; a
# subfolder both the demo and the user write in, a folder of the user's
# where the demo writes a file and a file where it writes a folder; a demo
# folder that is a symbolic link or a file. In every run a mv first on PATH
# records what it is given: the user's files are never among it, and stay
# where they were (the same inode) as the user left them. Each fault is said
# in one line and the run's status says it. Last, the closing text's
# commands for work by hand, run twice over a build folder whose name needs
# quoting.
# Usage: demo_faults.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$(cd "$1" && pwd)
src=$2
work=$3
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work/spy"
fail() { echo "$*"; exit 1; }
real_mv=$(command -v mv)
case=$work/case
demo=$case/demo
mine="gridedit/notes.txt gridedit/-n gridedit/\\c hydrosum/fort.21"   # the user's files
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >> "%s"\nexec "%s" "$@"\n' "$work/mv.log" "$real_mv" > "$work/spy/mv"
chmod +x "$work/spy/mv"

mkdir -p "$case"
ln -s "$bin" "$case/bin"
sh "$src/examples/run-demo.sh" "$case" > "$work/first.log"
mv "$demo" "$work/first"

start() {  # start: the first run's folders, the user's files added, a copy of them kept as before/
  rm -rf "$demo" "$work/before" "$work/stubs" "$work/mv.log"
  cp -R "$work/first" "$demo"
  echo "my notes" > "$demo/gridedit/notes.txt"
  echo "a dash" > "$demo/gridedit/-n"
  echo "a backslash" > "$demo/gridedit/\\c"
  echo "mine" > "$demo/hydrosum/fort.21"
  cp -R "$demo" "$work/before"
  for f in $mine; do ls -i "$demo/$f"; done > "$work/inodes"
  mkdir "$work/stubs"
}
stub_bin() {  # stub_bin <program>: the case's bin/ the real programs but one, whose stub is on standard input
  rm "$case/bin"
  mkdir "$case/bin"
  for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
  rm "$case/bin/$1"
  cat > "$case/bin/$1"
  chmod +x "$case/bin/$1"
}
real_bin() {
  rm -rf "$case/bin"
  ln -s "$bin" "$case/bin"
}
run() {  # run [stubs]: run-demo.sh on the case, the mv spy (or the stubs given) first on PATH; rc, out.log, err.log
  rc=0
  PATH=${1:-$work/spy}:$PATH sh "$src/examples/run-demo.sh" "$case" > "$work/out.log" 2> "$work/err.log" || rc=$?
}
expect() {  # expect <what> <status> <line>...: the run's status and its lines on stderr
  what=$1
  [ "$rc" = "$2" ] || fail "$what: status $rc, not $2: $(cat "$work/err.log")"
  shift 2
  if [ "$#" = 0 ]; then : > "$work/err.expected"; else printf '%s\n' "$@" > "$work/err.expected"; fi
  diff "$work/err.expected" "$work/err.log" || fail "$what: stderr differs (< expected, > printed)"
}
untouched() {  # untouched <what>: the user's files not given to mv, where they were, as they were; no scratch folder left
  if [ -f "$work/mv.log" ]; then
    for f in $mine; do grep -qxF "$demo/$f" "$work/mv.log" && fail "$1: $f given to mv"; done
  fi
  for f in $mine; do ls -i "$demo/$f"; done | diff "$work/inodes" - || fail "$1: the user's files are not those of before (inodes)"
  for f in $mine; do cmp -s "$work/before/$f" "$demo/$f" || fail "$1: $f changed"; done
  [ "$(ls -A "$case")" = "$(printf 'bin\ndemo')" ] || fail "$1: left in the build folder: $(ls -A "$case")"
  [ ! -e "$demo/.make-demo-scratch" ] || fail "$1: its scratch folder is left"
}
same() {  # same <what>: the case's folders as before/
  untouched "$1"
  diff -r "$work/before" "$demo" || fail "$1: the folders differ from what they were"
}

# A program of the demo that fails: the demo stops at it with one line naming
# it and its status, and its folder is as it was (the folders done before it
# are the demo's again, the user's files in them kept).
# program  its folder   its run  lines (|) before the folder's own
while read -r program folder when lines; do
  start
  # the stub fails in its folder's demo, on its first run there or (second) once transcript-1.txt is written
  printf '#!/bin/sh\ncase $PWD in */%s) if [ %s = first ] || [ -s transcript-1.txt ]; then exit 3; fi ;; esac\nexec "%s" "$@"\n' \
    "$folder" "$when" "$bin/$program" | stub_bin "$program"
  run
  set -f
  IFS='|'
  # shellcheck disable=SC2086
  set -- $lines
  unset IFS
  set +f
  expect "$program failing in $folder" 3 "$@" "make demo stopped: $demo/$folder as it was before"
  same "$program failing in $folder"
  real_bin
done <<'TABLE'
gridedit  gridedit     first    the gridedit demo failed: gridedit < keel.answers > keel.transcript ended with status 3
hydrosum  hydrosum     second   the hydrosum demo failed: hydrosum < deck.txt > transcript-2.txt ended with status 3
keelcut   intersect    first    keelcut < keelcut.answers > keelcut.transcript ended with status 3|the intersect demo failed (status 3)
meshdump  convert      first    meshdump < meshdump.answers > meshdump.transcript ended with status 3|the convert demo failed (status 3)
runplan   design-loop  first    runplan < runplan.answers > runplan.transcript ended with status 3|the design-loop demo failed (status 3)
TABLE

# a mv that fails part way while hydrosum's files go into place (one file
# moved, then an error): the run stops there, said in one line; nothing
# else in the folder is touched
start
printf '#!/bin/sh\nfor a; do last=$a; done\nif [ "$last" = "%s/" ]; then\n  "%s" -f -- "$3" "$last"\n  echo "mv: cannot move: Input/output error" >&2\n  exit 1\nfi\nexec "%s" "$@"\n' \
  "$demo/hydrosum" "$real_mv" "$real_mv" > "$work/stubs/mv"
chmod +x "$work/stubs/mv"
run "$work/stubs"
expect "hydrosum's files put in place part way" 1 "mv: cannot move: Input/output error" \
  "make demo stopped: the hydrosum demo's files could not all be put in $demo/hydrosum; nothing else in it was touched"
same "hydrosum's files put in place part way"
grep -q '^hydrosum demo:' "$work/out.log" && ! grep -q '^appgrid demo:' "$work/out.log" ||
  fail "hydrosum's files put in place part way: the run did not stop after hydrosum"

# in convert/, a subfolder that both the demo and the user write in: merged
# name by name, the user's file in it kept, the demo's written again; a
# folder of the user's where the demo writes a file (boat.plt), a file of the
# user's where it writes a folder (extra): left as they are, named in one
# line, status 1; the user's files elsewhere named in the kept lines
start
echo "mine" > "$work/mine.txt"
mkdir -p "$demo/convert/plots"
cp "$work/mine.txt" "$demo/convert/plots/mine.txt"
echo "edited by the user" > "$demo/convert/plots/demo.txt"
rm "$demo/convert/boat.plt"
mkdir "$demo/convert/boat.plt"
cp "$work/mine.txt" "$demo/convert/boat.plt/mine.txt"
cp "$work/mine.txt" "$demo/convert/extra"
printf '#!/bin/sh\nmkdir -p plots extra && echo "written by the demo" > plots/demo.txt && echo "the demo'"'"'s" > extra/x.txt\nexec "%s" "$@"\n' \
  "$bin/gridplot" | stub_bin gridplot
run
what="a subfolder both write in, a folder against a file"
expect "$what" 1 \
  "make demo: left as they are in $demo/convert, a folder where the demo wrote a file or a file where it wrote a folder: boat.plt, extra"
untouched "$what"
cmp -s "$work/mine.txt" "$demo/convert/plots/mine.txt" || fail "$what: the user's file in the subfolder lost"
[ "$(cat "$demo/convert/plots/demo.txt")" = "written by the demo" ] || fail "$what: the demo's file in the subfolder not written again"
[ "$(ls -A "$demo/convert/boat.plt")" = mine.txt ] && cmp -s "$work/mine.txt" "$demo/convert/boat.plt/mine.txt" ||
  fail "$what: the user's folder boat.plt changed"
cmp -s "$work/mine.txt" "$demo/convert/extra" || fail "$what: the user's file extra changed"
cmp -s "$work/first/convert/boat.net" "$demo/convert/boat.net" || fail "$what: the demo's boat.net not put in place"
printf '%s\n' "kept in $demo/gridedit, not written by the demo: -n, \\c, notes.txt" \
  "kept in $demo/hydrosum, not written by the demo: fort.21" \
  "kept in $demo/convert, not written by the demo: plots/mine.txt" > "$work/kept.expected"
grep '^kept' "$work/out.log" | diff "$work/kept.expected" - || fail "$what: the kept lines differ (< expected, > printed)"
grep -q '^design loop in ' "$work/out.log" || fail "$what: the demos after convert did not run"
real_bin

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
echo "make demo with its programs, its moves and its folders failing: the user's files never moved, each fault said in one line"
