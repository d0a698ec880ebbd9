#!/bin/sh
# Runs the suite's programs on their example inputs; outputs under BUILD/demo.
# Each demo runs in an empty folder, as on a first run, while what its folder
# held waits beside it; then the files the demo did not write (the user's
# own, make readers' picture) go back, and one line names them. A run that
# fails or is stopped puts the folder it was on back as it was.
set -e
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$build/bin" && pwd)
demo=$(mkdir -p "$build/demo" && cd "$build/demo" && pwd)
shown=${build%/}/demo
keep_shown=5   # names in a kept line; the rest are counted

current=""   # the folder whose demo is running
held=""      # where that folder's earlier files wait meanwhile
running=""   # set while the demo writes: stopped then, the folder goes back as it was

merge() (  # merge <from> <into> <prefix>: what <from> holds and <into> lacks moved in and named, the rest removed
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
    [ -e "$f" ] || [ -L "$f" ] || continue
    to=$2/${f##*/}
    if [ -d "$f" ] && [ ! -L "$f" ] && [ -d "$to" ] && [ ! -L "$to" ]; then
      merge "$f" "$to" "$3${f##*/}/"
    elif [ ! -e "$to" ] && [ ! -L "$to" ]; then
      mv "$f" "$to"
      if [ -d "$to" ] && [ ! -L "$to" ]; then echo "$3${f##*/}/"; else echo "$3${f##*/}"; fi
    fi
  done
  rm -rf "$1"   # what is left the demo wrote again: one process for all of it
)

fresh() {  # fresh <folder>: its folder emptied for the demo, what it held set aside
  current=$1
  if [ -d "$demo/$current" ] && [ ! -L "$demo/$current" ] && [ -n "$(ls -A "$demo/$current")" ]; then
    held=$(mktemp -d "$build/demo-held.XXXXXX")
    running=1
    mv "$demo/$current" "$held/$current"
  else
    rm -rf "$demo/${current:?}"
  fi
  mkdir -p "$demo/$current"
}

settle() {  # settle: the files set aside that the demo did not write put back, named in one line
  running=""
  if [ -n "$held" ]; then
    kept=$(merge "$held/$current" "$demo/$current" "")
    rmdir "$held"
    held=""
    if [ -n "$kept" ]; then
      n=$(printf '%s\n' "$kept" | wc -l)
      names=$(printf '%s\n' "$kept" | LC_ALL=C sort | head -n "$keep_shown" | paste -s -d , - | sed 's/,/, /g')
      if [ "$n" -gt "$keep_shown" ]; then names="$names and $((n - keep_shown)) more"; fi
      echo "kept in $shown/$current, not written by the demo: $names"
    fi
  fi
}

stopped() {  # stopped: the run ended inside a demo; nothing set aside is lost
  trap '' INT TERM HUP
  [ -n "$held" ] || return 0
  if [ -d "$held/$current" ] && [ -n "$running" ]; then
    rm -rf "$demo/${current:?}"
    mv "$held/$current" "$demo/$current" && echo "make demo stopped: $shown/$current as it was before" >&2
  elif [ -d "$held/$current" ]; then
    merge "$held/$current" "$demo/$current" "" > /dev/null
  fi
  rmdir "$held" 2>/dev/null || echo "make demo stopped: files of $shown/$current left in $held" >&2
}
trap 'set +e; stopped' EXIT
for sig in INT TERM HUP; do
  trap "set +e; stopped; trap - EXIT $sig; kill -s $sig \$\$" "$sig"
done

# gridedit: a keel resplined, deepened and written whole and in part; a bulb
# truncated and split; a hull cut at a transom x and given an overhung transom
fresh gridedit
for job in keel bulb hull; do
  cp "$here/gridedit/$job.net" "$demo/gridedit/"
  (cd "$demo/gridedit" && "$bin/gridedit" < "$here/gridedit/$job.answers" > "$job.transcript")
done
echo "gridedit demo: transcripts and networks in $demo/gridedit"
ls "$demo/gridedit" | sed 's/^/  /'
settle

# hydrosum: a small test matrix of force-moment files to every table, run
# twice: the second run compares its plot tables with the first run's (.old)
fresh hydrosum
cp "$here/hydrosum/"*.fm "$here/hydrosum/"*.net "$here/hydrosum/vpp.data" "$demo/hydrosum/"
(cd "$demo/hydrosum" && "$bin/hydrosum" < "$here/hydrosum/deck.txt" > transcript-1.txt)
for t in ku.plot r.plot k.plot rvpp.plot kvpp.plot; do cp "$demo/hydrosum/$t" "$demo/hydrosum/$t.old"; done
(cd "$demo/hydrosum" && "$bin/hydrosum" < "$here/hydrosum/deck.txt" > transcript-2.txt)
echo "hydrosum demo: transcripts and tables in $demo/hydrosum"
ls "$demo/hydrosum" | grep -v "\.fm$\|\.net$\|\.zon$" | sed 's/^/  /'
echo "  and $(ls "$demo/hydrosum" | grep -c '\.zon$') Tecplot zone files"
echo "second run against the first (r.plot: VEL HEEL YAW, ADIRAT ADTRAT):"
sed -n '10,14p' "$demo/hydrosum/r.plot" | cut -c1-15,206-225 | sed 's/^/  /'
settle

# The other programs: each folder's demo.sh, called with the bin folder and
# its own output folder, in the order of the design loop.
for job in appgrid intersect surfmesh convert design-loop; do
  if [ -f "$here/$job/demo.sh" ]; then
    fresh "$job"
    sh "$here/$job/demo.sh" "$bin" "$demo/$job" || { rc=$?; echo "the $job demo failed (status $rc)" >&2; exit "$rc"; }
    settle
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
  by hand:     in a copy outside ${build%/}/, which no make demo or make clean touches:
                 cp -R $loop ~/design-loop && cd ~/design-loop
                 export PATH="$bin:\$PATH"
               then the design loop's commands in docs/design-loop.md, run there as written
  keep:        make demo rewrites the files it writes in $shown/ (a file of answers you edited
               there too); your own files stay; make readers reads the folders as they stand
NEXT
