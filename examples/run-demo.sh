#!/bin/sh
# Runs the suite's programs on their example inputs; outputs under BUILD/demo.
set -e
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$build/bin" && pwd)
demo=$(mkdir -p "$build/demo" && cd "$build/demo" && pwd)

# gridedit: a keel resplined, deepened and written whole and in part; a bulb
# truncated and split; a hull cut at a transom x and given an overhung transom
rm -rf "$demo/gridedit"; mkdir -p "$demo/gridedit"
for job in keel bulb hull; do
  cp "$here/gridedit/$job.net" "$demo/gridedit/"
  (cd "$demo/gridedit" && "$bin/gridedit" < "$here/gridedit/$job.answers" > "$job.transcript")
done
echo "gridedit demo: transcripts and networks in $demo/gridedit"
ls "$demo/gridedit" | sed 's/^/  /'

# hydrosum: a small test matrix of force-moment files to every table, run
# twice: the second run compares its plot tables with the first run's (.old)
rm -rf "$demo/hydrosum"; mkdir -p "$demo/hydrosum"
cp "$here/hydrosum/"*.fm "$here/hydrosum/"*.net "$here/hydrosum/vpp.data" "$demo/hydrosum/"
(cd "$demo/hydrosum" && "$bin/hydrosum" < "$here/hydrosum/deck.txt" > transcript-1.txt)
for t in ku.plot r.plot k.plot rvpp.plot kvpp.plot; do cp "$demo/hydrosum/$t" "$demo/hydrosum/$t.old"; done
(cd "$demo/hydrosum" && "$bin/hydrosum" < "$here/hydrosum/deck.txt" > transcript-2.txt)
echo "hydrosum demo: transcripts and tables in $demo/hydrosum"
ls "$demo/hydrosum" | grep -v "\.fm$\|\.net$\|\.zon$" | sed 's/^/  /'
echo "  and $(ls "$demo/hydrosum" | grep -c '\.zon$') Tecplot zone files"
echo "second run against the first (r.plot: VEL HEEL YAW, ADIRAT ADTRAT):"
sed -n '10,14p' "$demo/hydrosum/r.plot" | cut -c1-15,206-225 | sed 's/^/  /'

# The other programs: each folder's demo.sh, called with the bin folder and
# its own output folder, in the order of the design loop.
for job in appgrid intersect surfmesh convert design-loop; do
  if [ -f "$here/$job/demo.sh" ]; then
    rm -rf "$demo/$job"; mkdir -p "$demo/$job"
    sh "$here/$job/demo.sh" "$bin" "$demo/$job" || { rc=$?; echo "the $job demo failed (status $rc)" >&2; exit "$rc"; }
  fi
done

# What to do next, with the folders as make demo was given them.
loop=${build%/}/demo/design-loop
cat <<NEXT

next:
  picture:     make readers renders $loop/junction.png and loads the demo's Tecplot,
               PLOT3D and IGES files in VTK and OpenCASCADE (it installs them with apt-get)
  flow solver: $loop/design.net holds the result's networks (bulb-new.net,
               keel-trimmed.net, wing-trimmed.net); setmat.f there sets up the test matrix
  open:        Tecplot .dat and .plt, PLOT3D .xyz: a viewer built on VTK (ParaView); hydrosum's
               .zon (one-dimensional zones): Tecplot; IGES .igs: a viewer built on OpenCASCADE
               (FreeCAD); network files .net are text (gridplot turns them into Tecplot files)
  by hand:     export PATH="$bin:\$PATH"; cd "$demo/design-loop"
               then the commands of the README's "The design loop" run there as written
  keep:        every make demo rewrites ${build%/}/demo/, each folder afresh (make readers reads them as
               they stand): keep your own work in a copy outside ${build%/}/, e.g. cp -R $loop ~/
NEXT
