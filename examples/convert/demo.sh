#!/bin/sh
# The converters: runplan on a test-point list, gridplot and meshdump on one
# network file holding the gridedit demo's keel, bulb and hull.
# Usage: sh demo.sh <bin folder> <output folder> [<folder it names>]
set -e
bin=$1
out=$2
shown=${3:-$2}   # the folder its files go into, which it names (run-demo.sh: the output folder is a scratch one)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../demo-program.sh"

cp "$here/points.txt" "$out/"
cat "$here/../gridedit/keel.net" "$here/../gridedit/bulb.net" "$here/../gridedit/hull.net" > "$out/boat.net"
for prog in runplan gridplot meshdump; do
  run "$prog" "$prog.answers" "$prog.transcript"
done

echo "converters demo: transcripts and files in $shown"
ls "$out" | sed 's/^/  /'
echo "runplan: $(tail -n 1 "$out/runplan.transcript"); setmat.f has $(grep -c '^      ih=' "$out/setmat.f") heel groups"
echo "gridplot: $(grep -c '^ZONE' "$out/boat.plt") zones in boat.plt"
sed 's/^/meshdump: /' "$out/meshdump.transcript" | grep 'number of'
