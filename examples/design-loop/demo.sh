#!/bin/sh
# The design loop through the geometry tools, in one working folder, each
# step reading what the one before wrote: surfmesh meshes the IGES file of
# a bulb (bulb.igs, see generate.py), gridedit puts its two quarters into
# the layout appgrid expects, keelcut and foilcut cut the keel and the wing
# with it, appgrid trims them and regenerates the bulb, gridplot and
# meshdump turn the result into Tecplot and Gridgen files, and runplan
# writes the routine that sets up the test matrix. Each step prints its
# program, answers and files, and a check that the chain holds.
# Usage: sh demo.sh <bin folder> <output folder> [<folder it names>]
set -e
bin=$1
out=$2
shown=${3:-$2}   # the folder its files go into, which it names (run-demo.sh: the output folder is a scratch one)
here=$(cd "$(dirname "$0")" && pwd)
# the inputs and the files of answers, so that the commands of docs/design-loop.md run in $out as written
cp "$here/bulb.igs" "$here/keel.net" "$here/wing.net" "$here/testpoints.txt" "$here/"*.answers "$out/"
cd "$out"

status=0
run() {  # run <program> <answers>: the program on a file of answers, its transcript kept; a status other than 0 stops the demo, named
  "$bin/$1" < "$2.answers" > "$2.transcript" || { rc=$?; printf '%s\n' "$1 < $2.answers > $2.transcript ended with status $rc" >&2; exit "$rc"; }
}
check() {  # check <name> [var=value ...]: one of checks.awk's checks
  name=$1
  shift
  vars=""
  for v in "$@"; do vars="$vars -v $v"; done
  # shellcheck disable=SC2086
  awk -v check="$name" $vars -f "$here/checks.awk" || status=1
}
size() {  # size <network file>: "ni x nj" of its first network
  head -n 1 "$1" | awk '{ printf "%d x %d", substr($0, 1, 5), substr($0, 6, 5) }'
}
deck() {  # deck <n>: the values of line n of appgrid's deck
  awk -v n="$1" 'index($0, "deck " n ":") == 1 { getline; print; exit }' "$here/appgrid.answers"
}

echo "design loop in $shown (one working folder):"

run surfmesh surfmesh
echo "1. surfmesh < surfmesh.answers: bulb.igs meshed, y and z swapped, u and v exchanged: bulb-upper.net ($(size bulb-upper.net)),"
echo "   bulb-lower.net ($(size bulb-lower.net)), bulb.dat (Tecplot, $(grep -c '^ZONE' bulb.dat) zones), bulb.xyz (PLOT3D, $(head -n 1 bulb.xyz | tr -d ' ') grids);"
echo "   every surface as it stands into bulb-surfaces.net; reduced to its surfaces in bulb128.igs, read back into bulb128.net"
check quarters
check reduced

run gridedit gridedit
echo "2. gridedit < gridedit.answers: bulb.net ($(size bulb.net)), the quarters read into rows 1-5 and 5-9"
check layout

run keelcut keelcut
run foilcut foilcut
echo "3. keelcut < keelcut.answers: keelcut.out ($(($(wc -l < keelcut.out) - 1)) stations), keelcut.net ($(size keelcut.net));"
echo "   foilcut < foilcut.answers: foilcut.out ($(($(wc -l < foilcut.out) - 1)) stations), foilcut.net ($(size foilcut.net))"
check tables

run appgrid appgrid
set -- $(deck 7) $(deck 8)
echo "4. appgrid < appgrid.answers: keel-trimmed.net ($(size keel-trimmed.net)), wing-trimmed.net ($(size wing-trimmed.net)), bulb-new.net ($(size bulb-new.net));"
echo "   last sweep of each phase, upper and lower half:"
grep 'iter,resrms,resmax=' appgrid.transcript | uniq -d | sed 's/^/  /'
check keelroot ikle="$1" ikte="$2"
check wingroot iwle="$3" iwte="$4"

cat bulb-new.net keel-trimmed.net wing-trimmed.net > design.net
run gridplot gridplot
run meshdump meshdump
echo "5. gridplot < gridplot.answers: design.plt ($(grep -c '^ZONE' design.plt) zones) of design.net (bulb-new.net, keel-trimmed.net, wing-trimmed.net);"
echo "   meshdump < meshdump.answers: design.grd; meshdump: $(grep 'number of' meshdump.transcript | paste -s -d ',' | sed 's/,/, /')"
check panels found_networks="$(awk -F= '/number of networks/ { print $2 + 0 }' meshdump.transcript)" \
  found_panels="$(awk -F= '/number of panels/ { print $2 + 0 }' meshdump.transcript)"

run runplan runplan
echo "6. runplan < runplan.answers: setmat.f from testpoints.txt, $(grep -c '^      ih=' setmat.f) heel groups; runplan: $(tail -n 1 runplan.transcript)"
echo "   hydrosum: the force-moment files of this test matrix are post-processed by the hydrosum demo (build/demo/hydrosum)"
exit $status
