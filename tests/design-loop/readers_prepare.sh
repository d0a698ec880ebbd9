#!/bin/sh
# What make readers runs before its checks (tools/readers/prepare.sh), in a
# build folder whose bin/ is the built programs: with no demo outputs it
# makes them all; after the design loop has been worked on by hand (a file
# of the user's, an edited file of answers, an output rewritten) and another
# folder removed, it makes that folder alone and leaves the design loop's
# folder byte for byte as the user left it; with every folder there it
# changes nothing and prints nothing. No scratch folder is left behind. And
# the Makefile's readers target runs the demo through prepare.sh alone.
# Usage: readers_prepare.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$1
src=$2
work=$3
prepare="sh $src/tools/readers/prepare.sh"
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work/build"
ln -s "$(cd "$bin" && pwd)" "$work/build/bin"
demo=$work/build/demo
fail() { echo "$*"; exit 1; }

# make readers reaches the demo through prepare.sh alone: its recipe, as
# make -n prints it (running nothing), has prepare.sh and then run.sh, and
# no run of the demo itself (readers: demo would rewrite the demo's files in
# every folder, the design loop's edited answers among them)
command -v make > /dev/null || fail "no make to read the Makefile's readers target"
env -u MAKEFLAGS -u MFLAGS -u MAKELEVEL make -s -n -C "$src" readers BUILD="$work/build" CMAKE=cmake SANITIZE= \
  > "$work/readers.recipe" 2>&1 || fail "make -n readers: $(cat "$work/readers.recipe")"
printf 'sh tools/readers/%s %s\n' prepare.sh "$work/build" run.sh "$work/build" > "$work/readers.expected"
grep -v '^cmake ' "$work/readers.recipe" | diff "$work/readers.expected" - ||
  fail "make readers runs other commands than prepare.sh and run.sh (> run besides, < not run)"

outputs() {  # the files the readers' checks read, one of each folder
  for f in surfmesh/cutbulb128.igs convert/boat.plt design-loop/design.plt hydrosum/ku.zon; do
    [ -s "$demo/$f" ] || fail "prepare.sh left no $demo/$f"
  done
}
alone_in_build() {
  [ "$(ls "$work/build")" = "$(printf 'bin\ndemo')" ] || fail "left in the build folder: $(ls "$work/build")"
}

$prepare "$work/build" > "$work/first.log"
outputs
alone_in_build
grep -q 'design loop in' "$work/first.log" && fail "prepare.sh printed the demo: $(cat "$work/first.log")"

# the user's work in the design loop's folder; the converters' folder gone,
# hydrosum's emptied
loop=$demo/design-loop
echo "my notes on the bulb" > "$loop/notes.txt"
sed 's/^design.plt$/mine.plt/' "$loop/gridplot.answers" > "$loop/gridplot.edited"
mv "$loop/gridplot.edited" "$loop/gridplot.answers"
grep -qx mine.plt "$loop/gridplot.answers" || fail "the test's edit of gridplot.answers missed"
echo "mine" > "$loop/design.plt"
rm "$loop/design.net"
cp -R "$loop" "$work/as-the-user-left-it"
rm -rf "$demo/convert" "$demo/hydrosum"/*

$prepare "$work/build" > "$work/second.log"
diff -r "$work/as-the-user-left-it" "$loop" || fail "prepare.sh changed the user's design-loop folder"
[ -s "$demo/convert/boat.plt" ] && [ -s "$demo/hydrosum/ku.zon" ] || fail "prepare.sh did not make convert/ and hydrosum/ again"
alone_in_build
printf '%s\n' "$demo/convert: missing, made by the demo" "$demo/hydrosum: missing, made by the demo" |
  diff - "$work/second.log" || fail "prepare.sh's lines differ"

cp -R "$demo" "$work/before-third"
$prepare "$work/build" > "$work/third.log"
diff -r "$work/before-third" "$demo" || fail "prepare.sh changed a demo folder that was there"
[ ! -s "$work/third.log" ] || fail "prepare.sh printed with every folder there: $(cat "$work/third.log")"
echo "make readers' preparation: the missing folders made, the user's design loop kept as it was"
