#!/bin/sh
# make demo (run-demo.sh) and make readers' preparation (prepare.sh)
# stopped by a signal, as a terminal stops them: the signal sent to the
# run's whole process group while one program of the demo is held in a
# stub that waits, so that the signal always comes in the middle of the run.
# Each row: the script, the program held, the signal and the status a run
# killed by it has. Afterwards no scratch folder is left in the build
# folder, a folder the demo was working on is back as it was, with the
# user's file in it, and the folders it had finished are the demo's, the
# user's file kept.
# Usage: interrupted.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$(cd "$1" && pwd)
src=$2
work=$3
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work"
fail() { echo "$*"; exit 1; }
waits=600   # tenths of a second for the held program to start

# a first demo, the user's notes in two folders
mkdir -p "$work/first"
ln -s "$bin" "$work/first/bin"
sh "$src/examples/run-demo.sh" "$work/first" > /dev/null
echo "my notes" > "$work/first/demo/gridedit/notes.txt"
echo "my notes" > "$work/first/demo/appgrid/notes.txt"

# script       held     signal  status
while read -r script held signal status; do
  case=$work/$script-$signal
  mkdir -p "$case/bin"
  for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
  rm "$case/bin/$held"
  printf '#!/bin/sh\n: > "%s/started"\nexec sleep 60\n' "$case" > "$case/bin/$held"
  chmod +x "$case/bin/$held"
  case $script in
    run-demo.sh) cp -R "$work/first/demo" "$case/demo"; run="$src/examples/run-demo.sh" ;;
    prepare.sh) run="$src/tools/readers/prepare.sh" ;;
  esac

  # a background job of a script starts with INT ignored: env gives it back
  setsid env --default-signal=INT,TERM,HUP sh "$run" "$case" > "$case/log" 2>&1 &
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

  case $script in
    prepare.sh)
      [ ! -e "$case/demo" ] || [ -z "$(ls -A "$case/demo")" ] || fail "prepare.sh, $signal: made $(ls "$case/demo")" ;;
    run-demo.sh)
      # gridedit and hydrosum were finished before appgrid was held; appgrid is as it was
      diff -r "$work/first/demo" "$case/demo" || fail "run-demo.sh, $signal: the demo's folders changed"
      grep -qx "make demo stopped: $case/demo/appgrid as it was before" "$case/log" ||
        fail "run-demo.sh, $signal: no line for the folder put back: $(cat "$case/log")" ;;
  esac
done <<'TABLE'
prepare.sh     gridedit  INT   130
prepare.sh     hydrosum  TERM  143
prepare.sh     surfmesh  HUP   129
run-demo.sh    appgrid   INT   130
run-demo.sh    appgrid   TERM  143
run-demo.sh    appgrid   HUP   129
TABLE
echo "make demo and make readers' preparation stopped by INT, TERM and HUP: no scratch folder left, nothing lost"
