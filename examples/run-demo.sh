#!/bin/sh
# Runs the suite's programs on their example inputs; outputs under BUILD/demo.
# The user's files are never moved: each folder's demo runs in a scratch
# folder, BUILD/demo/.make-demo-scratch/<folder> (the same file system), and
# once it has ended well each file it wrote replaces the file of that name in
# BUILD/demo/<folder> by a rename (a subfolder both hold merged name by
# name); one line names what else the folder holds. A demo that fails or is
# stopped leaves its folder as it was (stopped while its files go in, it puts
# them all in first). A run killed outright leaves at most the scratch
# folder, which the next run removes (killed while the files go in, some of
# them are in: the demo's own). One run at a time: flock on
# BUILD/demo/.make-demo-lock, which the kernel lets go however the run ends.
set -e
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$build/bin" && pwd)
demo=$(mkdir -p "$build/demo" && cd "$build/demo" && pwd)
shown=${build%/}/demo
keep_shown=5   # names in a kept line; the rest are counted

scratch=$demo/.make-demo-scratch
folders="gridedit hydrosum appgrid intersect surfmesh convert design-loop"   # in the order they run
current=""   # the folder whose demo is running
work=""      # where it runs: $scratch/$current
phase=""     # run while it runs, place while its files go into $demo/$current, "" between demos
status=0     # 1 once a folder was left out or a name could not be put in its place

say() { printf '%s\n' "$*" >&2; }

folder() { [ -d "$1" ] && [ ! -L "$1" ]; }

there() { [ -e "$1" ] || [ -L "$1" ]; }

# shellcheck disable=SC2317   # reached from the traps
full() {  # full <folder>: it holds something
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do there "$f" && return 0; done
  return 1
}

# listed <text>: the NUL-ended names on standard input sorted, the first few joined and the rest
# counted, printed as one line after the text; status 1 and nothing printed when there are none
listed() {
  LC_ALL=C sort -z | text=$1 LC_ALL=C awk -v k="$keep_shown" 'BEGIN { RS = "\0" }
    NR <= k { s = s (NR > 1 ? ", " : "") $0 }
    END { if (NR == 0) exit 1; if (NR > k) s = s " and " (NR - k) " more"; print ENVIRON["text"] s }'
}

entries() {  # entries <folder>: its names, NUL-ended, a folder's with a slash
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
    there "$f" || continue
    if folder "$f"; then printf '%s/\0' "${f##*/}"; else printf '%s\0' "${f##*/}"; fi
  done
}

# kept <from> <into> <prefix>: what <into> holds that <from> lacks, as entries names it; of a
# subfolder both hold, what it holds that <from>'s lacks
kept() {
  for f in "$2"/* "$2"/.[!.]* "$2"/..?*; do
    there "$f" || continue
    if ! there "$1/${f##*/}"; then
      if folder "$f"; then printf '%s/\0' "$3${f##*/}"; else printf '%s\0' "$3${f##*/}"; fi
    elif folder "$f" && folder "$1/${f##*/}"; then
      (kept "$1/${f##*/}" "$f" "$3${f##*/}/")
    fi
  done
}

# clashes <from> <into> <prefix>: the names that are a folder in one and something else in the other
clashes() {
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
    t=$2/${f##*/}
    if ! there "$f" || ! there "$t"; then
      continue
    elif folder "$f" && folder "$t"; then
      (clashes "$f" "$t" "$3${f##*/}/")
    elif folder "$f" || folder "$t"; then
      printf '%s\0' "$3${f##*/}"
    fi
  done
}

# plain <from> <into>: each name <into> holds, <from> holds too, and neither as a folder: the
# demo's files go over their own names, nothing else is there to name
plain() {
  for f in "$2"/* "$2"/.[!.]* "$2"/..?*; do
    there "$f" || continue
    there "$1/${f##*/}" && ! folder "$f" && ! folder "$1/${f##*/}" || return 1
  done
}

# into <from> <into>: what <from> holds renamed into <into>, one mv for the names of a level; a
# subfolder both hold merged name by name; a clash left where it is
into() {
  from=$1
  to=$2
  set --
  for f in "$from"/* "$from"/.[!.]* "$from"/..?*; do
    there "$f" || continue
    t=$to/${f##*/}
    if ! there "$t"; then
      set -- "$@" "$f"
    elif folder "$f"; then
      if folder "$t"; then (into "$f" "$t") || return 1; fi
    elif ! folder "$t"; then
      set -- "$@" "$f"
    fi
  done
  [ "$#" = 0 ] || mv -f -- "$@" "$to/"
}

put() {  # put: the demo's folder renamed whole where its folder is missing, else its names one by one
  if there "$demo/$current"; then into "$work" "$demo/$current"; else mv -- "$work" "$demo/$current"; fi
}

begin() {  # begin <folder>: its demo to run in $work; current is "" for a folder left out
  current=$1
  work=$scratch/$current
  if [ -L "$demo/$current" ]; then
    say "make demo: $shown/$current is a symbolic link, left as it is; its demo is not run"
  elif there "$demo/$current" && [ ! -d "$demo/$current" ]; then
    say "make demo: $shown/$current is not a folder, left as it is; its demo is not run"
  else
    phase=run
    return 0
  fi
  status=1
  current=""
}

place() {  # place: the demo ended well; its files into its folder, what else the folder holds named
  if folder "$demo/$current" && ! plain "$work" "$demo/$current"; then
    kept "$work" "$demo/$current" "" | listed "kept in $shown/$current, not written by the demo: " || :
    if clashes "$work" "$demo/$current" "" |
      listed "make demo: left as they are in $shown/$current, a folder where the demo wrote a file or a file where it wrote a folder: " >&2; then
      status=1
    fi
  fi
  phase=place
  if ! put; then
    phase=""
    say "make demo stopped: the $current demo's files could not all be put in $shown/$current; nothing else in it was touched"
    exit 1
  fi
  phase=""
}

# stopped: the run ended; a demo stopped before its files went into place leaves its folder as it was,
# one stopped while they went in puts them all in
# shellcheck disable=SC2317   # reached from the traps
stopped() {
  trap '' INT TERM HUP
  if [ "$phase" = place ]; then
    if put; then
      say "make demo stopped: the $current demo ended, its files put in $shown/$current"
    else
      say "make demo stopped: the $current demo's files could not all be put in $shown/$current; nothing else in it was touched"
    fi
  elif [ "$phase" = run ] && full "$demo/$current"; then
    say "make demo stopped: $shown/$current as it was before"
  fi
  rm -rf "$scratch"
}

program() {  # program <name> <answers> <transcript>: one program of the demo in its folder; a status other than 0 stops it
  (cd "$work" && "$bin/$1" < "$2" > "$3") || {
    rc=$?
    say "the $current demo failed: $1 < ${2##*/} > $3 ended with status $rc"
    exit "$rc"
  }
}

# putback <held folder> <folder>: what an older make demo set aside moved back where nothing of its
# name is, a subfolder both hold name by name; what is left stays where it was held
putback() {
  if ! there "$2"; then
    mv -- "$1" "$2" || :
  elif folder "$2"; then
    from=$1
    to=$2
    set --
    for f in "$from"/* "$from"/.[!.]* "$from"/..?*; do
      if ! there "$f"; then
        continue
      elif ! there "$to/${f##*/}"; then
        set -- "$@" "$f"
      elif folder "$f" && folder "$to/${f##*/}"; then
        (putback "$f" "$to/${f##*/}")
      fi
    done
    if [ "$#" != 0 ]; then mv -- "$@" "$to/" || :; fi
    rmdir "$from" 2>/dev/null || :
  fi
}

exec 9>> "$demo/.make-demo-lock"
flock -n 9 || {
  rc=$?   # 1: another run holds it
  if [ "$rc" = 1 ]; then say "make demo refused: another make demo is running in $shown"; fi
  exit 1
}
trap 'set +e; stopped' EXIT
for sig in INT TERM HUP; do
  trap "set +e; stopped; trap - EXIT $sig; kill -s $sig \$\$" "$sig"
done
# what a run killed outright left: its scratch folder, or the lock of a version that stored a pid
set --
for f in "$scratch" "$demo/.make-demo-running" "$demo"/.make-demo-running.*; do
  if there "$f" && { [ "$f" = "$scratch" ] || [ -L "$f" ]; }; then set -- "$@" "$f"; fi
done
[ "$#" = 0 ] || rm -rf -- "$@"
# what an older version, killed outright, left set aside (in BUILD/demo-held.* the one before it):
# put back where nothing of its name is, never removed
for r in "$demo"/.make-demo-held.* "$build"/demo-held.*; do
  folder "$r" || continue
  case $r in "$demo"/*) held=$shown/${r##*/} ;; *) held=${build%/}/${r##*/} ;; esac
  for h in "$r"/*; do
    folder "$h" || continue
    putback "$h" "$demo/${h##*/}"
    if there "$h"; then
      status=1
      entries "$h" | listed "make demo: left in $held/${h##*/}, not put back into $shown/${h##*/}: " >&2 || :
    else
      say "make demo: put back in $shown/${h##*/} what an earlier make demo had set aside"
    fi
  done
  rm -f "$r/.running" "$r/.merging"
  rmdir "$r" 2>/dev/null || :
done
set -- "$scratch"
for job in $folders; do set -- "$@" "$scratch/$job"; done
mkdir -- "$@"

# gridedit: a keel resplined, deepened and written whole and in part; a bulb
# truncated and split; a hull cut at a transom x and given an overhung transom
begin gridedit
if [ -n "$current" ]; then
  for job in keel bulb hull; do
    cp "$here/gridedit/$job.net" "$work/"
    program gridedit "$here/gridedit/$job.answers" "$job.transcript"
  done
  printf '%s\n' "gridedit demo: transcripts and networks in $demo/gridedit"
  ls "$work" | sed 's/^/  /'
  place
fi

# hydrosum: a small test matrix of force-moment files to every table, run
# twice: the second run compares its plot tables with the first run's (.old)
begin hydrosum
if [ -n "$current" ]; then
  cp "$here/hydrosum/"*.fm "$here/hydrosum/"*.net "$here/hydrosum/vpp.data" "$work/"
  program hydrosum "$here/hydrosum/deck.txt" transcript-1.txt
  for t in ku.plot r.plot k.plot rvpp.plot kvpp.plot; do cp "$work/$t" "$work/$t.old"; done
  program hydrosum "$here/hydrosum/deck.txt" transcript-2.txt
  printf '%s\n' "hydrosum demo: transcripts and tables in $demo/hydrosum"
  ls "$work" | grep -v "\.fm$\|\.net$\|\.zon$" | sed 's/^/  /'
  echo "  and $(ls "$work" | grep -c '\.zon$') Tecplot zone files"
  echo "second run against the first (r.plot: VEL HEEL YAW, ADIRAT ADTRAT):"
  sed -n '10,14p' "$work/r.plot" | cut -c1-15,206-225 | sed 's/^/  /'
  place
fi

# The other programs: each folder's demo.sh, called with the bin folder, the
# folder it works in and the folder its files go into, in the order of the
# design loop.
for job in appgrid intersect surfmesh convert design-loop; do
  if [ -f "$here/$job/demo.sh" ]; then
    begin "$job"
    if [ -n "$current" ]; then
      sh "$here/$job/demo.sh" "$bin" "$work" "$demo/$job" || { rc=$?; say "the $job demo failed (status $rc)"; exit "$rc"; }
      place
    fi
  fi
done

quoted() {  # quoted <text>: the text as one word of the shell
  q=$(printf '%s.' "$1" | sed "s/'/'\\\\''/g")
  printf "'%s'" "${q%.}"
}

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
                 mkdir -p ~/design-loop && cp -R $(quoted "$loop")/. ~/design-loop/
                 cd ~/design-loop && export PATH=$(quoted "$bin"):"\$PATH"
               then the design loop's commands in docs/design-loop.md, run there as written
  keep:        make demo rewrites the files it writes in $shown/ (a file of answers you edited
               there too); your own files stay; make readers reads the folders as they stand
NEXT
exit "$status"
