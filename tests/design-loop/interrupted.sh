#!/bin/sh
# make demo (run-demo.sh) and make readers' preparation (prepare.sh)
# stopped by a signal, as a terminal stops them: the signal sent to the
# run's whole process group while one program of the demo is held in a
# stub that waits, so that the signal always comes in the middle of the run
# (for make demo also while appgrid's files go into place: a mv first on
# PATH that moves one of them and waits, the folder's copies of them
# edited). Each row: the script, the program held, the signal and the
# status a run killed by it has. Afterwards no scratch folder is left; a
# folder whose demo was running is as it was, with the user's file in it,
# one whose files were going into place has them all (the run said which),
# and the folders the demo had finished are the demo's, the user's file
# kept.
# Usage: interrupted.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$(cd "$1" && pwd)
src=$2
work=$3
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work"
fail() { echo "$*"; exit 1; }
real_mv=$(command -v mv)
waits=600   # tenths of a second for the held program to start

# a first demo, the user's notes in two folders
mkdir -p "$work/first"
ln -s "$bin" "$work/first/bin"
sh "$src/examples/run-demo.sh" "$work/first" > /dev/null
echo "my notes" > "$work/first/demo/gridedit/notes.txt"
echo "my notes" > "$work/first/demo/appgrid/notes.txt"

# script       held     signal  status
while read -r script held signal status; do
  case=$work/$script-$held-$signal
  mkdir -p "$case/bin" "$case/stubs"
  for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
  case $held in
    mv)  # the first time appgrid's files go into place: one moved, then it waits
      printf '#!/bin/sh\nfor a; do last=$a; done\nif [ "$last" = "%s/" ] && [ ! -f "%s" ]; then\n  "%s" -f -- "$3" "$last"; : > "%s"; exec sleep 60\nfi\nexec "%s" "$@"\n' \
        "$case/demo/appgrid" "$case/started" "$real_mv" "$case/started" "$real_mv" > "$case/stubs/mv"
      chmod +x "$case/stubs/mv" ;;
    *)
      rm "$case/bin/$held"
      printf '#!/bin/sh\n: > "%s/started"\nexec sleep 60\n' "$case" > "$case/bin/$held"
      chmod +x "$case/bin/$held" ;;
  esac
  case $script in
    run-demo.sh)
      cp -R "$work/first/demo" "$case/demo"
      run="$src/examples/run-demo.sh"
      if [ "$held" = mv ]; then  # appgrid's own files edited: each must be the demo's again
        for f in "$case/demo/appgrid"/*; do [ "${f##*/}" = notes.txt ] || echo "edited" >> "$f"; done
      fi ;;
    prepare.sh) run="$src/tools/readers/prepare.sh" ;;
  esac

  # a background job of a script starts with INT ignored: env gives it back
  setsid env --default-signal=INT,TERM,HUP PATH="$case/stubs:$PATH" sh "$run" "$case" > "$case/log" 2>&1 &
  pid=$!
  [ "$(ps -o pgid= -p "$pid" | tr -d ' ')" = "$pid" ] || fail "$script: not in a process group of its own"
  i=0
  while [ ! -f "$case/started" ]; do
    i=$((i + 1))
    [ "$i" -le "$waits" ] || { kill -KILL -- "-$pid"; fail "$script: $held never started"; }
    sleep 0.1
  done
  kill -s "$signal" -- "-$pid"
  rc=0
  wait "$pid" 2>/dev/null || rc=$?
  [ "$rc" = "$status" ] || fail "$script, $signal while $held ran: status $rc, not $status: $(cat "$case/log")"
  left=$(ls "$case" | grep '^demo-' || true)
  [ -z "$left" ] || fail "$script, $signal: left in the build folder: $left"
  [ ! -e "$case/demo/.make-demo-scratch" ] || fail "$script, $signal: its scratch folder is left"

  case $script in
    prepare.sh)
      [ ! -e "$case/demo" ] || [ -z "$(ls -A "$case/demo")" ] || fail "prepare.sh, $signal: made $(ls "$case/demo")" ;;
    run-demo.sh)
      # gridedit and hydrosum were finished before appgrid was held; appgrid is as it was, or has
      # the demo's files all in place (the same as the first run's)
      diff -r "$work/first/demo" "$case/demo" || fail "run-demo.sh, $signal: the demo's folders changed"
      case $held in
        mv) line="make demo stopped: the appgrid demo ended, its files put in $case/demo/appgrid" ;;
        *) line="make demo stopped: $case/demo/appgrid as it was before" ;;
      esac
      grep -qxF "$line" "$case/log" || fail "run-demo.sh, $signal while $held ran: no line for appgrid's folder: $(cat "$case/log")" ;;
  esac
done <<'TABLE'
prepare.sh     gridedit  INT   130
prepare.sh     hydrosum  TERM  143
prepare.sh     surfmesh  HUP   129
run-demo.sh    appgrid   INT   130
run-demo.sh    appgrid   TERM  143
run-demo.sh    appgrid   HUP   129
run-demo.sh    mv        INT   130
TABLE
echo "make demo and make readers' preparation stopped by INT, TERM and HUP: no scratch folder left, nothing lost"
