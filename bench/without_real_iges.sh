#!/bin/sh
# surfmesh_bench where SUITE_IGES_DIR names a folder without the real IGES
# files: status 0, one line on standard output naming the rows skipped, the
# file looked for and the variable, nothing on standard error, and no
# benchmark run.
# Usage: without_real_iges.sh <surfmesh_bench> <scratch folder>
set -eu
bench=$1
work=$2
rm -rf "$work"
mkdir -p "$work/empty"
status=0
SUITE_IGES_DIR="$work/empty" "$bench" > "$work/out" 2> "$work/err" || status=$?
printf '%s\n' "surfmesh_bench: every row skipped (surfmesh, OpenCASCADE and bare read of impeller.igs and its copies): $work/empty/impeller.igs is absent; SUITE_IGES_DIR names the folder of real IGES files (by default ../shared/iges beside the project)" > "$work/want"
[ "$status" = 0 ] || { echo "status $status"; exit 1; }
cmp -s "$work/out" "$work/want" || { echo "standard output:"; cat "$work/out"; echo "wanted:"; cat "$work/want"; exit 1; }
[ ! -s "$work/err" ] || { echo "standard error:"; cat "$work/err"; exit 1; }
rm -rf "$work"
