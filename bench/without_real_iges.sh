#!/bin/sh
# surfmesh_bench where SUITE_IGES_DIR names a folder without the real IGES
# files, by its absolute name and by its name from the repository's top
# folder (the bench run in another folder): status 0, one line on standard
# output naming the rows skipped, the file looked for and the variable,
# nothing on standard error, and no benchmark run.
# Usage: without_real_iges.sh <surfmesh_bench> <scratch folder> <top folder>
set -eu
bench=$1
work=$2
top=$3
rm -rf "$work"
mkdir -p "$work/empty"
printf '%s\n' "surfmesh_bench: every row skipped (surfmesh, OpenCASCADE and bare read of impeller.igs and its copies): $work/empty/impeller.igs is absent; SUITE_IGES_DIR names the folder of real IGES files (by default ../shared/iges beside the project)" > "$work/want"
relative=$(realpath -s -m --relative-to="$top" "$work/empty")
case $relative in /*) echo "no relative name of $work/empty from $top"; exit 1 ;; esac
for named in "$work/empty" "$relative"; do
  status=0
  (cd "$work" && SUITE_IGES_DIR="$named" "$bench") > "$work/out" 2> "$work/err" || status=$?
  [ "$status" = 0 ] || { echo "SUITE_IGES_DIR=$named: status $status"; exit 1; }
  cmp -s "$work/out" "$work/want" ||
    { echo "SUITE_IGES_DIR=$named: standard output:"; cat "$work/out"; echo "wanted:"; cat "$work/want"; exit 1; }
  [ ! -s "$work/err" ] || { echo "SUITE_IGES_DIR=$named: standard error:"; cat "$work/err"; exit 1; }
done
rm -rf "$work"
