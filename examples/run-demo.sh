#!/bin/sh
# Runs the suite's programs on their example inputs; outputs under BUILD/demo.
# Each demo runs in an empty folder, as on a first run, while what its folder
# held waits in BUILD/demo/.make-demo-held.*/ (one rename away on the same
# file system, never a copy); then the files the demo did not write (the
# user's own, make readers' picture) go back, and one line names them. A run
# that fails or is stopped puts the folder it was on back as it was; a run
# killed outright leaves it held, and the next run puts it back before it
# starts. One run at a time works in BUILD/demo: another is refused.
set -e
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$build/bin" && pwd)
demo=$(mkdir -p "$build/demo" && cd "$build/demo" && pwd)
shown=${build%/}/demo
keep_shown=5   # names in a kept line; the rest are counted

lock=$demo/.make-demo-running   # a symbolic link to the pid of the run working in build/demo
current=""   # the folder whose demo is running
root=""      # the held folder of this demo: $root/$current holds what the folder held;
             # $root/.running is there once it is set aside, $root/.merging once it goes back
status=0     # 1 once a folder was left out or a file could not go back

say() { printf '%s\n' "$*" >&2; }

listed() {  # listed: the names on standard input sorted, the first few joined, the rest counted
  LC_ALL=C sort | LC_ALL=C awk -v k="$keep_shown" \
    'NR <= k { printf "%s%s", (NR > 1 ? ", " : ""), $0 } END { if (NR > k) printf " and %d more", NR - k }'
}

entries() (  # entries <folder>: its names, one a line, a folder's with a slash
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
    [ -e "$f" ] || [ -L "$f" ] || continue
    if [ -d "$f" ] && [ ! -L "$f" ]; then printf '%s/\n' "${f##*/}"; else printf '%s\n' "${f##*/}"; fi
  done
)

# merge <from> <into> <prefix> <mode>: what <from> holds and <into> lacks moved in and named. Of a
# name in both (two folders are merged), <from>'s is removed (remove: the demo wrote it again), put
# in the place of <into>'s (restore) or left (keep). What is left stays in <from>.
merge() (
  for f in "$1"/* "$1"/.[!.]* "$1"/..?*; do
    [ -e "$f" ] || [ -L "$f" ] || continue
    to=$2/${f##*/}
    if [ -d "$f" ] && [ ! -L "$f" ] && [ -d "$to" ] && [ ! -L "$to" ]; then
      merge "$f" "$to" "$3${f##*/}/" "$4"
    elif [ ! -e "$to" ] && [ ! -L "$to" ]; then
      if mv "$f" "$to"; then
        if [ -d "$to" ] && [ ! -L "$to" ]; then printf '%s\n' "$3${f##*/}/"; else printf '%s\n' "$3${f##*/}"; fi
      fi
    elif { [ ! -d "$f" ] || [ -L "$f" ]; } && { [ ! -d "$to" ] || [ -L "$to" ]; }; then
      case $4 in
        remove) rm -f "$f" || : ;;
        restore) { rm -f "$to" && mv "$f" "$to"; } || : ;;
      esac
    fi
  done
  rmdir "$1" 2>/dev/null || :   # emptied, it goes; what could not go back stays
)

putback() {  # putback <held folder> <folder> <mode>: the held folder back whole where its folder is gone, else merged
  if [ ! -e "$1" ] && [ ! -L "$1" ]; then
    return 0
  elif [ ! -e "$2" ] && [ ! -L "$2" ]; then
    mv "$1" "$2" || :
  elif [ -d "$2" ] && [ ! -L "$2" ]; then
    merge "$1" "$2" "" "$3" > /dev/null
  fi
}

left() {  # left <held folder> <shown held folder> <shown folder>: what could not go back, named where it is
  status=1
  say "make demo: left in $2, not put back into $3: $(entries "$1" | listed)"
}

unroot() {  # unroot: the held folder gone, or what is left in it named
  rm -f "$root/.running" "$root/.merging"
  if ! rmdir "$root" 2>/dev/null; then left "$root/$current" "$shown/${root##*/}/$current" "$shown/$current"; fi
  root=""
}

claim() {  # claim: build/demo this run's; taken over from a run that died (the first to mark it does); 1 while another runs
  while :; do
    ln -s "$$" "$lock" 2>/dev/null && return 0
    if ! head=$(readlink "$lock" 2>/dev/null); then
      [ -L "$lock" ] || [ ! -e "$lock" ] || return 2   # let go meanwhile, or not a lock
      continue
    fi
    owner=$head
    while :; do   # the dead along the marks, from the one that held it to the one taking it over
      case $owner in '' | *[!0-9]*) return 2 ;; esac
      kill -0 "$owner" 2>/dev/null && return 1
      ln -s "$$" "$lock.$owner" 2>/dev/null && break
      owner=$(readlink "$lock.$owner" 2>/dev/null) || continue 2
    done
    if [ "$(readlink "$lock" 2>/dev/null)" = "$head" ]; then   # still the dead run's: this run takes it over
      rm -f "$lock"
      if ln -s "$$" "$lock" 2>/dev/null; then rm -f "$lock".[0-9]*; return 0; fi
    fi
    rm -f "$lock.$owner"
  done
}

# recover <held root> <shown held root>: what an earlier run left held put back, as far as that run had
# gone: going back (.merging), as settle does; set aside (.running), in the place of what the demo was
# writing; else (the move aside may not have ended) without replacing anything
recover() {
  for f in "$1"/*; do
    if [ ! -d "$f" ] || [ -L "$f" ]; then continue; fi
    if [ -f "$1/.merging" ]; then mode=remove; elif [ -f "$1/.running" ]; then mode=restore; else mode=keep; fi
    putback "$f" "$demo/${f##*/}" "$mode"
    if [ -e "$f" ]; then
      left "$f" "$2/${f##*/}" "$shown/${f##*/}"
    else
      say "make demo: put back in $shown/${f##*/} what an earlier make demo had set aside"
    fi
  done
  rm -f "$1/.running" "$1/.merging"
  rmdir "$1" 2>/dev/null || :
}

fresh() {  # fresh <folder>: its folder emptied for the demo, what it held set aside; current is "" for a folder left out
  current=$1
  if [ -L "$demo/$current" ]; then
    say "make demo: $shown/$current is a symbolic link, left as it is; its demo is not run"
  elif [ -e "$demo/$current" ] && [ ! -d "$demo/$current" ]; then
    say "make demo: $shown/$current is not a folder, left as it is; its demo is not run"
  else
    if [ -d "$demo/$current" ] && ! rmdir "$demo/$current" 2>/dev/null; then
      root=$(mktemp -d "$demo/.make-demo-held.XXXXXX")
      if ! mv "$demo/$current" "$root/$current"; then   # not held: what mv moved goes back, nothing is removed
        say "make demo stopped: $shown/$current could not be set aside; it is left as it is"
        putback "$root/$current" "$demo/$current" keep
        unroot
        exit 1
      fi
      : > "$root/.running"
    fi
    mkdir "$demo/$current"
    return 0
  fi
  status=1
  current=""
}

settle() {  # settle: the files set aside that the demo did not write put back, named in one line
  [ -n "$root" ] || return 0
  : > "$root/.merging"
  kept=$(merge "$root/$current" "$demo/$current" "" remove)
  unroot
  if [ -n "$kept" ]; then
    printf '%s\n' "kept in $shown/$current, not written by the demo: $(printf '%s\n' "$kept" | listed)"
  fi
}

# shellcheck disable=SC2317   # reached from the traps
stopped() {  # stopped: the run ended, inside a demo or not; nothing set aside is lost, build/demo let go
  trap '' INT TERM HUP
  if [ -n "$root" ]; then
    if [ -f "$root/.merging" ]; then
      merge "$root/$current" "$demo/$current" "" remove > /dev/null
    elif [ -f "$root/.running" ]; then
      rm -rf "$demo/${current:?}"
      putback "$root/$current" "$demo/$current" restore
      [ -e "$root/$current" ] || say "make demo stopped: $shown/$current as it was before"
    else
      putback "$root/$current" "$demo/$current" keep
    fi
    unroot
  fi
  if [ "$(readlink "$lock" 2>/dev/null)" = "$$" ]; then rm -f "$lock"; fi
}

program() {  # program <name> <answers> <transcript>: one program of the demo in its folder; a status other than 0 stops it
  (cd "$demo/$current" && "$bin/$1" < "$2" > "$3") || {
    rc=$?
    say "the $current demo failed: $1 < ${2##*/} > $3 ended with status $rc"
    exit "$rc"
  }
}

trap 'set +e; stopped' EXIT
for sig in INT TERM HUP; do
  trap "set +e; stopped; trap - EXIT $sig; kill -s $sig \$\$" "$sig"
done
claim || {
  case $? in
    1) say "make demo refused: another make demo (pid $owner) is running in $shown" ;;
    *) say "make demo refused: $shown/${lock##*/} is not make demo's (remove it if no make demo is running)" ;;
  esac
  exit 1
}
# what a run killed outright left held, put back first (and what the demo before this one held in BUILD)
for r in "$demo"/.make-demo-held.* "$build"/demo-held.*; do
  if [ -d "$r" ] && [ ! -L "$r" ]; then
    case $r in "$demo"/*) recover "$r" "$shown/${r##*/}" ;; *) recover "$r" "${build%/}/${r##*/}" ;; esac
  fi
done

# gridedit: a keel resplined, deepened and written whole and in part; a bulb
# truncated and split; a hull cut at a transom x and given an overhung transom
fresh gridedit
if [ -n "$current" ]; then
  for job in keel bulb hull; do
    cp "$here/gridedit/$job.net" "$demo/gridedit/"
    program gridedit "$here/gridedit/$job.answers" "$job.transcript"
  done
  printf '%s\n' "gridedit demo: transcripts and networks in $demo/gridedit"
  ls "$demo/gridedit" | sed 's/^/  /'
  settle
fi

# hydrosum: a small test matrix of force-moment files to every table, run
# twice: the second run compares its plot tables with the first run's (.old)
fresh hydrosum
if [ -n "$current" ]; then
  cp "$here/hydrosum/"*.fm "$here/hydrosum/"*.net "$here/hydrosum/vpp.data" "$demo/hydrosum/"
  program hydrosum "$here/hydrosum/deck.txt" transcript-1.txt
  for t in ku.plot r.plot k.plot rvpp.plot kvpp.plot; do cp "$demo/hydrosum/$t" "$demo/hydrosum/$t.old"; done
  program hydrosum "$here/hydrosum/deck.txt" transcript-2.txt
  printf '%s\n' "hydrosum demo: transcripts and tables in $demo/hydrosum"
  ls "$demo/hydrosum" | grep -v "\.fm$\|\.net$\|\.zon$" | sed 's/^/  /'
  echo "  and $(ls "$demo/hydrosum" | grep -c '\.zon$') Tecplot zone files"
  echo "second run against the first (r.plot: VEL HEEL YAW, ADIRAT ADTRAT):"
  sed -n '10,14p' "$demo/hydrosum/r.plot" | cut -c1-15,206-225 | sed 's/^/  /'
  settle
fi

# The other programs: each folder's demo.sh, called with the bin folder and
# its own output folder, in the order of the design loop.
for job in appgrid intersect surfmesh convert design-loop; do
  if [ -f "$here/$job/demo.sh" ]; then
    fresh "$job"
    if [ -n "$current" ]; then
      sh "$here/$job/demo.sh" "$bin" "$demo/$job" || { rc=$?; say "the $job demo failed (status $rc)"; exit "$rc"; }
      settle
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
