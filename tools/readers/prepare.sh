#!/bin/sh
# What make readers runs before its checks: the demo's folders that the
# checks read, made by the demo where they are missing. A folder that is
# there is read as it stands (the design loop repeated by hand in
# design-loop/, its answers edited, say) and nothing in it is touched: the
# demo, which rewrites its own files in every folder (answers among them),
# runs in a scratch folder, and only the folders that were missing (or
# empty) are moved in from there.
# Usage: prepare.sh <build folder>   (its bin/ holds the programs)
set -eu
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
demo=$build/demo

missing=""
for job in surfmesh convert design-loop hydrosum; do
  if [ ! -d "$demo/$job" ] || [ -z "$(ls -A "$demo/$job")" ]; then missing="$missing $job"; fi
done
[ -z "$missing" ] && exit 0

mkdir -p "$demo"
# the scratch folder goes at any end: a signal does not run the EXIT trap,
# so INT, TERM and HUP remove it too, then are raised again for their status
scratch=""
trap 'rm -rf "$scratch"' EXIT
for sig in INT TERM HUP; do
  trap "rm -rf \"\$scratch\"; trap - EXIT $sig; kill -s $sig \$\$" "$sig"
done
scratch=$(mktemp -d "$build/demo-scratch.XXXXXX")
ln -s "$(cd "$build/bin" && pwd)" "$scratch/bin"
if ! sh "$here/../../examples/run-demo.sh" "$scratch" > "$scratch/demo.log" 2>&1; then
  cat "$scratch/demo.log"
  echo "FAIL the demo, run to make$missing under $demo"
  exit 1
fi
for job in $missing; do
  if [ -d "$demo/$job" ]; then rmdir "$demo/$job"; fi
  mv "$scratch/demo/$job" "$demo/$job"
  echo "$demo/$job: missing, made by the demo"
done
