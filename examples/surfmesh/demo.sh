#!/bin/sh
# surfmesh: a half bulb written by OpenCASCADE (bulb.igs) meshed twice,
# clustered with one refit pass and flipped, into a network, a Tecplot and
# a PLOT3D file. Called by run-demo.sh as: sh demo.sh <bin folder> <output folder>
set -e
here=$(cd "$(dirname "$0")" && pwd)
bin=$1
out=$2
cp "$here/bulb.igs" "$out/"
(cd "$out" && "$bin/surfmesh" < "$here/bulb.answers" > transcript.txt)
echo "surfmesh demo: transcript and mesh files in $out"
ls "$out" | sed 's/^/  /'
echo "network headers:"
awk 'length($0) != 48 { print "  " $0 }' "$out/bulb.net"
