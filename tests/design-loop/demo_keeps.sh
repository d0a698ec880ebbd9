#!/bin/sh
# make demo run again over a build/demo/ worked in by hand: each change of
# the table below made after a first run, then the demo run again. A file
# of the user's stays as the user left it and one line per folder names
# them (a name that holds a newline once, as it is); a file the demo writes
# is the demo's again, edited or deleted; the demo's own output is the first
# run's, and its files, the user's taken away, are the first run's byte for
# byte.
# Usage: demo_keeps.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$1
src=$2
work=$3
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work/build"
ln -s "$(cd "$bin" && pwd)" "$work/build/bin"
build=$work/build
demo=$build/demo
fail() { echo "$*"; exit 1; }

sh "$src/examples/run-demo.sh" "$build" > "$work/first.log"
grep -q '^kept' "$work/first.log" && fail "the first run kept something: $(grep '^kept' "$work/first.log")"
cp -R "$demo" "$work/first"
# each demo runs in a scratch folder: what it prints names the folder its files go into, and no
# file it writes holds the scratch folder's name
printf '%s\n' "gridedit demo: transcripts and networks in $demo/gridedit" "hydrosum demo: transcripts and tables in $demo/hydrosum" \
  "appgrid demo: transcript and networks in $demo/appgrid" "intersect demo: tables, strips and transcripts in $demo/intersect" \
  "surfmesh demo: transcripts and mesh files in $demo/surfmesh" "converters demo: transcripts and files in $demo/convert" \
  "design loop in $demo/design-loop (one working folder):" > "$work/named.expected"
grep ' in /' "$work/first.log" | grep -v '^ ' | diff "$work/named.expected" - || fail "the demos name other folders (< expected, > printed)"
! grep -rl 'make-demo-scratch' "$work/first.log" "$demo" || fail "the scratch folder's name is printed or written in the files above"

# folder      change  then whose  files
cat > "$work/table" <<'TABLE'
design-loop   add     user        notes.txt runs/try-1.net
design-loop   edit    demo        gridplot.answers
design-loop   delete  demo        design.plt
gridedit      add     user        .notes
gridedit      delete  demo        keel.transcript
hydrosum      add     user        fort.21
convert       edit    demo        boat.plt
intersect     add     user        t1 t2 t3 t4 t5 t6 t7
TABLE

while read -r folder change whose files; do
  for f in $files; do
    case $change in
      add) mkdir -p "$(dirname "$demo/$folder/$f")"; echo "mine: $f" > "$demo/$folder/$f" ;;
      edit) echo "edited" >> "$demo/$folder/$f" ;;
      delete) rm "$demo/$folder/$f" ;;
    esac
  done
done < "$work/table"
# and a name that holds a newline, counted once and printed as it is (its
# second line starts with "kept", so that it stays with the kept lines)
nl="t0
kept too"
echo "mine: t0" > "$demo/intersect/$nl"

sh "$src/examples/run-demo.sh" "$build" > "$work/second.log"

while read -r folder change whose files; do
  for f in $files; do
    case $whose in
      user) [ "$(cat "$demo/$folder/$f")" = "mine: $f" ] || fail "$folder/$f ($change): not as the user left it" ;;
      demo) cmp -s "$work/first/$folder/$f" "$demo/$folder/$f" || fail "$folder/$f ($change): not the demo's" ;;
    esac
  done
done < "$work/table"

cat > "$work/kept.expected" <<KEPT
kept in $demo/gridedit, not written by the demo: .notes
kept in $demo/hydrosum, not written by the demo: fort.21
kept in $demo/intersect, not written by the demo: t0
kept too, t1, t2, t3, t4 and 3 more
kept in $demo/design-loop, not written by the demo: notes.txt, runs/
KEPT
grep '^kept' "$work/second.log" | diff "$work/kept.expected" - || fail "the kept lines differ (< expected, > printed)"
grep -v '^kept' "$work/second.log" | diff "$work/first.log" - || fail "the second run printed otherwise than the first"

# the user's files taken away, what is left is the first run's
while read -r folder change whose files; do
  if [ "$whose" = user ]; then
    for f in $files; do rm -rf "$demo/$folder/${f%%/*}"; done
  fi
done < "$work/table"
[ "$(cat "$demo/intersect/$nl")" = "mine: t0" ] || fail "intersect/t0 (a newline) kept too: not as the user left it"
rm "$demo/intersect/$nl"
diff -r "$work/first" "$demo" || fail "the second run's files differ from the first's"
[ "$(ls "$build")" = "$(printf 'bin\ndemo')" ] || fail "left in the build folder: $(ls "$build")"
echo "make demo again: the user's files kept and named, the demo's own written as the first time"
