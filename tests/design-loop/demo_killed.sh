#!/bin/sh
# make demo (run-demo.sh) one run at a time, and killed outright. The
# build's demo/ is a symbolic link to a folder elsewhere, as a build/demo on
# another disk would be. A second run started while one is held in a stub
# is refused in one line and changes nothing; a lock left by a run that died
# (or by one that died taking it over) is taken over, one whose owner lives
# is not. A run killed with SIGKILL at each point of setting a folder aside
# leaves the user's file where it was held, beside the folder on the same
# file system (the same inode: moved by a rename, never copied); the next
# run puts it back before it starts, says so in one line, and ends as a run
# over the user's files would. The demo before this one held folders in
# BUILD/demo-held.*: those go back too.
# Usage: demo_killed.sh <bin folder> <source folder> <scratch folder>
set -eu
bin=$(cd "$1" && pwd)
src=$2
work=$3
export LC_ALL=C
rm -rf "$work"
mkdir -p "$work"
fail() { echo "$*"; exit 1; }
real_mv=$(command -v mv)
waits=600   # tenths of a second for a held stub to start
case=$work/case
demo=$case/demo   # as run-demo.sh names it
disk=$work/disk   # where it is
lock=$disk/demo/.make-demo-running
live=""   # a process that lives while the locks' rows run
pid=""    # the run in the background
trap 'if [ -n "$live" ]; then kill "$live" 2>/dev/null || :; fi; if [ -n "$pid" ]; then kill -KILL -- "-$pid" 2>/dev/null || :; fi' EXIT

mkdir -p "$case" "$disk/demo"
ln -s "$disk/demo" "$demo"
ln -s "$bin" "$case/bin"
sh "$src/examples/run-demo.sh" "$case" > "$work/first.log"
cp -R "$disk/demo" "$work/first"
printf '%s\n' "kept in $demo/gridedit, not written by the demo: notes.txt" \
  "kept in $demo/appgrid, not written by the demo: mine.txt" > "$work/kept.expected"

start() {  # start: the first run's folders, the user's files added; the same with nothing held as expected/
  rm -rf "$disk/demo" "$work/expected" "$work/before" "$work/during" "$work/stubs" "$case/bin" "$case"/demo-held.*
  cp -R "$work/first" "$disk/demo"
  echo "my notes" > "$disk/demo/gridedit/notes.txt"
  echo "mine" > "$disk/demo/appgrid/mine.txt"
  cp -R "$disk/demo" "$work/expected"
  mkdir -p "$work/stubs" "$case/bin"
  for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
}
inode() { ls -i "$1" | awk '{ print $1 }'; }
background() {  # background: run-demo.sh started in a process group of its own, waited for until the stub starts
  rm -f "$work/started"
  setsid env --default-signal=INT,TERM,HUP PATH="$work/stubs:$PATH" sh "$src/examples/run-demo.sh" "$case" \
    > "$work/bg.log" 2>&1 &
  pid=$!
  i=0
  while [ ! -f "$work/started" ]; do
    i=$((i + 1))
    [ "$i" -le "$waits" ] || { kill -KILL -- "-$pid"; fail "$row: the stub never started: $(cat "$work/bg.log")"; }
    sleep 0.1
  done
}
ended() {  # ended <signal> <status>: the background run sent the signal and ended with the status
  kill -s "$1" -- "-$pid"
  rc=0
  wait "$pid" 2>/dev/null || rc=$?
  [ "$rc" = "$2" ] || fail "$row: status $rc after $1, not $2: $(cat "$work/bg.log")"
  bg=$pid
  pid=""
}
run() {  # run <row>: run-demo.sh in the foreground; rc, out.log, err.log
  row=$1
  rc=0
  sh "$src/examples/run-demo.sh" "$case" > "$work/out.log" 2> "$work/err.log" || rc=$?
}
expect() {  # expect <status> <line>...: the foreground run's status and its lines on stderr
  [ "$rc" = "$1" ] || fail "$row: status $rc, not $1: $(cat "$work/err.log")"
  shift
  if [ "$#" = 0 ]; then : > "$work/err.expected"; else printf '%s\n' "$@" > "$work/err.expected"; fi
  diff "$work/err.expected" "$work/err.log" || fail "$row: stderr differs (< expected, > printed)"
}
ended_well() {  # ended_well: the run printed as a run over the user's files does and left the folders so
  grep '^kept' "$work/out.log" | diff "$work/kept.expected" - || fail "$row: the kept lines differ (< expected, > printed)"
  grep -v '^kept' "$work/out.log" | diff "$work/first.log" - || fail "$row: printed otherwise than the first run"
  diff -r --no-dereference "$work/expected" "$disk/demo" || fail "$row: the folders differ from the first run's with the user's files"
  [ "$(ls -A "$case")" = "$(printf 'bin\ndemo')" ] || fail "$row: left in the build folder: $(ls -A "$case")"
}

# a second run while the first is held in appgrid: refused, nothing changed;
# the first, stopped, puts appgrid's folder back and lets go of the lock
row="a second run"
start
rm "$case/bin/appgrid"
printf '#!/bin/sh\n: > "%s"\nexec sleep 60\n' "$work/started" > "$case/bin/appgrid"
chmod +x "$case/bin/appgrid"
background
cp -R "$disk/demo" "$work/during"
run "a second run"
expect 1 "make demo refused: another make demo (pid $pid) is running in $demo"
[ ! -s "$work/out.log" ] || fail "$row: printed $(cat "$work/out.log")"
diff -r --no-dereference "$work/during" "$disk/demo" || fail "$row: changed the folders of the run it was refused beside"
ended TERM 143
diff -r --no-dereference "$work/expected" "$disk/demo" || fail "$row: the first run, stopped, did not put its folders back"

# killed outright where it sets appgrid's folder aside: after the move, while
# appgrid runs, and while mine.txt goes back
# row      stub on PATH or in bin
while read -r row stub; do
  start
  case $row in
    after-the-move)
      printf '#!/bin/sh\nif [ "$1" = "%s" ]; then "%s" "$@" && : > "%s" && exec sleep 60; fi\nexec "%s" "$@"\n' \
        "$demo/appgrid" "$real_mv" "$work/started" "$real_mv" > "$work/stubs/$stub" ;;
    while-appgrid-runs)
      rm "$case/bin/$stub"
      printf '#!/bin/sh\n: > "%s"\nexec sleep 60\n' "$work/started" > "$case/bin/$stub"
      chmod +x "$case/bin/$stub" ;;
    while-mine.txt-goes-back)
      printf '#!/bin/sh\ncase $1 in */mine.txt) : > "%s"; exec sleep 60 ;; esac\nexec "%s" "$@"\n' \
        "$work/started" "$real_mv" > "$work/stubs/$stub" ;;
  esac
  [ ! -f "$work/stubs/$stub" ] || chmod +x "$work/stubs/$stub"
  before=$(inode "$disk/demo/appgrid/mine.txt")
  background
  ended KILL 137
  set -- "$disk"/demo/.make-demo-held.*/appgrid/mine.txt   # held under the demo's own folder, in one place
  [ "$#" = 1 ] && [ -f "$1" ] || fail "$row: mine.txt is not held in one place under $disk/demo: $*"
  mine=$1
  [ "$(inode "$mine")" = "$before" ] || fail "$row: mine.txt was copied, not moved ($mine)"
  [ "$(cat "$mine")" = "mine" ] || fail "$row: mine.txt changed"
  [ "$(readlink "$lock")" = "$bg" ] || fail "$row: the killed run's lock is not left: $(ls -A "$disk/demo")"
  rm -rf "$case/bin" && ln -s "$bin" "$case/bin"
  run "$row, then a run"
  expect 0 "make demo: put back in $demo/appgrid what an earlier make demo had set aside"
  ended_well
done <<'TABLE'
after-the-move            mv
while-appgrid-runs        appgrid
while-mine.txt-goes-back  mv
TABLE

# locks left: taken over from the dead, refused while the run holding it or
# taking it over lives, refused when it is not a lock
sleep 300 &
live=$!
dead=$(sh -c 'echo $$')
dead2=$(sh -c 'echo $$')
pid_of() { case $1 in dead) echo "$dead" ;; dead2) echo "$dead2" ;; live) echo "$live" ;; esac; }
# row                  lock    mark of the lock's pid  status
while read -r row to mark status; do
  start
  rm -rf "$case/bin" && ln -s "$bin" "$case/bin"
  case $to in
    file) echo "not a lock" > "$lock" ;;
    *) ln -s "$(pid_of "$to")" "$lock" ;;
  esac
  [ "$mark" = - ] || ln -s "$(pid_of "$mark")" "$lock.$dead"
  cp -R "$disk/demo" "$work/before"
  run "$row"
  case $status in
    0) expect 0
       ended_well ;;
    *) case $to in
         file) expect 1 "make demo refused: $demo/.make-demo-running is not make demo's (remove it if no make demo is running)" ;;
         *) expect 1 "make demo refused: another make demo (pid $live) is running in $demo" ;;
       esac
       [ ! -s "$work/out.log" ] || fail "$row: printed $(cat "$work/out.log")"
       diff -r --no-dereference "$work/before" "$disk/demo" || fail "$row: changed the folders" ;;
  esac
done <<'TABLE'
held-by-the-dead          dead  -      0
taken-over-by-the-dead    dead  dead2  0
taken-over-by-the-living  dead  live   1
held-by-the-living        live  -      1
not-a-lock                file  -      1
TABLE
kill "$live"
live=""

# a folder held by the demo before this one, in the build folder
row="held in BUILD/demo-held.*"
start
rm -rf "$case/bin" && ln -s "$bin" "$case/bin"
mkdir -p "$case/demo-held.Ab12Cd/appgrid"
mv "$disk/demo/appgrid/mine.txt" "$case/demo-held.Ab12Cd/appgrid/"
run "$row"
expect 0 "make demo: put back in $demo/appgrid what an earlier make demo had set aside"
ended_well
echo "make demo one run at a time, killed outright at each point of setting a folder aside: nothing lost, all put back"
