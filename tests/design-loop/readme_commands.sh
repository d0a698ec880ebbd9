#!/bin/sh
# The design loop by hand, as the documentation writes it: the command
# block that follows the marker in docs/design-loop.md, run with the
# programs on PATH. In the folder the demo leaves it must write the demo's
# files again, byte for byte; in a folder of the inputs the page names it
# must write the files the block names, no more and no fewer.
# Usage: readme_commands.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$1
src=$2
work=$3
examples=$src/examples/design-loop
page=docs/design-loop.md
export LC_ALL=C PATH="$bin:$PATH"
rm -rf "$work"
mkdir -p "$work/demo" "$work/inputs"

# a newcomer reaches the page from the README
if ! grep -qF "]($page" "$src/README.md"; then
  echo "README.md: no link to $page"
  exit 1
fi

# the first fenced block after the marker
awk '/^<!-- the design loop by hand/ { marked = 1; next }
     marked && /^```/ { if (inside) exit; inside = 1; next }
     inside { print }' "$src/$page" > "$work/commands.sh"
if [ ! -s "$work/commands.sh" ]; then
  echo "$page: no command block after the marker <!-- the design loop by hand"
  exit 1
fi

sh "$examples/demo.sh" "$bin" "$work/demo" > "$work/demo.log"
cp -R "$work/demo" "$work/as-the-demo-left-it"
(cd "$work/demo" && sh -e "$work/commands.sh" > "$work/demo-by-hand.log")
if ! diff -r "$work/as-the-demo-left-it" "$work/demo"; then
  echo "the commands of $page, run in the demo's folder, changed what the demo wrote"
  exit 1
fi

cp "$examples/bulb.igs" "$examples/keel.net" "$examples/wing.net" "$examples/testpoints.txt" \
  "$examples/"*.answers "$work/inputs/"
ls "$work/inputs" > "$work/inputs.list"
(cd "$work/inputs" && sh -e "$work/commands.sh" > "$work/inputs-by-hand.log")
ls "$work/inputs" | comm -23 - "$work/inputs.list" > "$work/written.list"
grep -o '[A-Za-z0-9_.-]*\.\(net\|igs\|dat\|xyz\|out\|plt\|grd\|f\)\b' "$work/commands.sh" | sort -u |
  comm -23 - "$work/inputs.list" > "$work/named.list"
if ! diff "$work/named.list" "$work/written.list"; then
  echo "the commands of $page name (<) other files than they write (>)"
  exit 1
fi
echo "the design-loop commands of $page: $(grep -c . "$work/commands.sh") lines, $(grep -c . "$work/written.list") files written, as the demo writes them"
