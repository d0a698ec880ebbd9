#!/bin/sh
# surfmesh: a half bulb written by OpenCASCADE (bulb.igs) meshed twice,
# clustered with one refit pass and flipped, into a network, a Tecplot and
# a PLOT3D file; then a whole bulb cut at both ends (cutbulb.igs, two
# trimmed surfaces) listed, meshed with its trimming boundaries into a
# Tecplot and a network file, and reduced to its surfaces (cutbulb128.igs),
# which is read back and meshed as the original's surfaces are.
# Called by run-demo.sh as: sh demo.sh <bin folder> <output folder> [<folder it names>]
set -e
here=$(cd "$(dirname "$0")" && pwd)
bin=$1
out=$2
shown=${3:-$2}   # the folder its files go into, which it names (run-demo.sh: the output folder is a scratch one)
. "$here/../demo-program.sh"
cp "$here/bulb.igs" "$here/cutbulb.igs" "$out/"
run surfmesh bulb.answers transcript.txt
run surfmesh cutbulb.answers cutbulb-transcript.txt
echo "surfmesh demo: transcripts and mesh files in $shown"
ls "$out" | sed 's/^/  /'
echo "network headers:"
awk 'length($0) != 48 { print "  " $0 }' "$out/bulb.net"
echo "trimmed surfaces and their boundaries:"
awk 'length($0) != 48 { print "  " $0 }' "$out/cutbulb.net"
echo "directory of cutbulb.igs:"
sed -n '1,8p' "$out/cutbulb.dir" | sed 's/^/  /'
if cmp -s "$out/surfaces.net" "$out/cutbulb128.net"; then
  echo "cutbulb128.igs, read back, meshes as the surfaces of cutbulb.igs do"
else
  echo "cutbulb128.igs meshes otherwise than cutbulb.igs" >&2
  exit 1
fi
