#!/bin/sh
# keelcut and foilcut on the example keel, wing and bulb: the intersection
# tables and strips that appgrid and a viewer read.
# Usage: sh demo.sh <bin folder> <output folder> [<folder it names>]
set -e
bin=$1
out=$2
shown=${3:-$2}   # the folder its files go into, which it names (run-demo.sh: the output folder is a scratch one)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../demo-program.sh"
cp "$here/bulb.net" "$here/keel.net" "$here/wing.net" "$out/"
run keelcut keelcut.answers keelcut.transcript
run foilcut foilcut.answers foilcut.transcript
echo "intersect demo: tables, strips and transcripts in $shown"
ls "$out" | sed 's/^/  /'
echo "keel root on the bulb (keelcut.out, first and last stations):"
sed -n '1,2p;$p' "$out/keelcut.out" | sed 's/^/  /'
echo "wing root on the bulb (foilcut.out, trailing edges and leading edge):"
sed -n '1,2p;10p;$p' "$out/foilcut.out" | sed 's/^/  /'
