#!/bin/sh
# appgrid on a bulb of revolution with a keel on its top and a wing at its
# half breadth (all from formulas, see generate.py), with the intersection
# tables keelcut and foilcut would write for them.
# Usage: sh demo.sh <bin folder> <output folder> [<folder it names>]
set -e
bin=$1
out=$2
shown=${3:-$2}   # the folder its files go into, which it names (run-demo.sh: the output folder is a scratch one)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../demo-program.sh"

cp "$here/bulb.net" "$here/keel.net" "$here/wing.net" "$here/keelcut.out" "$here/foilcut.out" "$out/"
run appgrid appgrid.answers appgrid.transcript

echo "appgrid demo: transcript and networks in $shown"
ls "$out" | sed 's/^/  /'
for net in keel-trimmed.net wing-trimmed.net bulb-new.net; do
  echo "  $net: $(head -n 1 "$out/$net" | cut -c1-10) points per row and rows"
done
echo "last sweep of each phase, upper and lower half:"
grep 'iter,resrms,resmax=' "$out/appgrid.transcript" | uniq -d | sed 's/^/ /'
