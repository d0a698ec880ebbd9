#!/bin/sh
# surfmesh's reduced IGES files of the demo (surfmesh/cutbulb128.igs and
# design-loop/bulb128.igs) in OpenCASCADE's IGES reader: a small reader is
# built into the build folder against libocct-data-exchange-dev, checks
# that each file holds its original's B-spline surfaces, and compares
# OpenCASCADE's evaluation of them with surfmesh's own mesh of the same
# file (cutbulb128.net, bulb128.net).
# Usage: check_iges.sh <demo folder> <build folder>
set -u
demo=$1
build=$2
here=$(cd "$(dirname "$0")" && pwd)
exe=$build/iges_reader
version=$(dpkg-query -W -f='${Version}' libocct-data-exchange-dev 2>/dev/null || echo unknown)
if ! g++ -std=c++17 -O1 -w -I/usr/include/opencascade "$here/iges_reader.cpp" -o "$exe" \
    -lTKXDEIGES -lTKIGES -lTKXSBase -lTKBRep -lTKGeomBase -lTKG3d -lTKG2d -lTKMath -lTKernel; then
  echo "FAIL cutbulb128.igs, bulb128.igs: the OpenCASCADE reader could not be built"
  exit 1
fi
status=0
"$exe" "$demo/surfmesh/cutbulb.igs" "$demo/surfmesh/cutbulb128.igs" "$demo/surfmesh/cutbulb128.net" "$version" || status=1
"$exe" "$demo/design-loop/bulb.igs" "$demo/design-loop/bulb128.igs" "$demo/design-loop/bulb128.net" "$version" || status=1
exit $status
