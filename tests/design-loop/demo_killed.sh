#!/bin/sh
# make demo (run-demo.sh) one run at a time, and killed outright. The
# build's demo/ is a symbolic link to a folder elsewhere, as a build/demo on
# another disk would be. A second run started while one is held in a stub
# is refused in one line and changes nothing. A run killed with SIGKILL at
# each point of its work (the lock just taken, a program running, the files
# going into place, all of them in place) leaves the user's file where it was
# (the same inode) and at most a scratch folder of the demo's own outputs;
# the next run, which the dead one's lock does not block, removes it without
# a word and ends as a run over the user's files does. A lock left by an
# older version (a symbolic link naming a pid, a live one too, with the
# marks of a takeover) blocks nothing, nor does a file of its name. What an older version left set aside
# (in BUILD/demo/.make-demo-held.*, or BUILD/demo-held.* before it) goes
# back where nothing of its name is; the rest stays there, named in one line.
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
real_flock=$(command -v flock)
waits=600   # tenths of a second for a held stub to start
case=$work/case
demo=$case/demo   # as run-demo.sh names it
disk=$work/disk   # where it is
pid=""    # the run in the background
trap 'if [ -n "$pid" ]; then kill -KILL -- "-$pid" 2>/dev/null || :; fi' EXIT

mkdir -p "$case" "$disk/demo"
ln -s "$disk/demo" "$demo"
ln -s "$bin" "$case/bin"
sh "$src/examples/run-demo.sh" "$case" > "$work/first.log"
cp -R "$disk/demo" "$work/first"
printf '%s\n' "kept in $demo/gridedit, not written by the demo: notes.txt" \
  "kept in $demo/appgrid, not written by the demo: mine.txt" > "$work/kept.expected"

start() {  # start: the first run's folders, the user's files added; the same as expected/
  rm -rf "$disk/demo" "$work/expected" "$work/during" "$work/stubs" "$case/bin" "$case"/demo-held.*
  cp -R "$work/first" "$disk/demo"
  echo "my notes" > "$disk/demo/gridedit/notes.txt"
  echo "mine" > "$disk/demo/appgrid/mine.txt"
  cp -R "$disk/demo" "$work/expected"
  mkdir -p "$work/stubs" "$case/bin"
  for p in "$bin"/*; do ln -s "$p" "$case/bin/"; done
}
inode() { ls -i "$1" | awk '{ print $1 }'; }
stub() {  # stub <file>: the stub on standard input, executable
  cat > "$1"
  chmod +x "$1"
}
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
  pid=""
}
run() {  # run <row>: run-demo.sh in the foreground with the real programs; rc, out.log, err.log
  row=$1
  rm -rf "$case/bin"
  ln -s "$bin" "$case/bin"
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

# a second run while the first is held in appgrid: refused, nothing changed
# (the first's scratch folder neither); the first, stopped, leaves appgrid's
# folder as it was
row="a second run"
start
rm "$case/bin/appgrid"
printf '#!/bin/sh\n: > "%s"\nexec sleep 60\n' "$work/started" | stub "$case/bin/appgrid"
background
cp -R "$disk/demo" "$work/during"
[ -d "$work/during/.make-demo-scratch/appgrid" ] || fail "$row: the first run's scratch folder is not where it should be"
rc=0
sh "$src/examples/run-demo.sh" "$case" > "$work/out.log" 2> "$work/err.log" || rc=$?
expect 1 "make demo refused: another make demo is running in $demo"
[ ! -s "$work/out.log" ] || fail "$row: printed $(cat "$work/out.log")"
diff -r --no-dereference "$work/during" "$disk/demo" || fail "$row: changed the folders of the run it was refused beside"
ended TERM 143
grep -qxF "make demo stopped: $demo/appgrid as it was before" "$work/bg.log" || fail "$row: the first, stopped, said $(cat "$work/bg.log")"
diff -r --no-dereference "$work/expected" "$disk/demo" || fail "$row: the first run, stopped, did not leave its folders as they were"

# killed outright at each point of its work: the lock just taken; while
# appgrid runs; while appgrid's files go into place (one of them moved); with
# all of them in place
# row: the stub that holds it
while read -r row; do
  start
  case $row in
    the-lock-taken)  # flock
      printf '#!/bin/sh\n"%s" "$@" || exit\n: > "%s"\nexec sleep 60\n' "$real_flock" "$work/started" | stub "$work/stubs/flock" ;;
    while-appgrid-runs)  # appgrid
      rm "$case/bin/appgrid"
      printf '#!/bin/sh\n: > "%s"\nexec sleep 60\n' "$work/started" | stub "$case/bin/appgrid" ;;
    files-going-into-place)  # mv
      printf '#!/bin/sh\nfor a; do last=$a; done\nif [ "$last" = "%s/" ]; then "%s" -f -- "$3" "$last"; : > "%s"; exec sleep 60; fi\nexec "%s" "$@"\n' \
        "$demo/appgrid" "$real_mv" "$work/started" "$real_mv" | stub "$work/stubs/mv" ;;
    files-in-place)  # mv
      printf '#!/bin/sh\nfor a; do last=$a; done\n"%s" "$@" || exit\nif [ "$last" = "%s/" ]; then : > "%s"; exec sleep 60; fi\n' \
        "$real_mv" "$demo/appgrid" "$work/started" | stub "$work/stubs/mv" ;;
  esac
  before=$(inode "$disk/demo/appgrid/mine.txt")
  background
  ended KILL 137
  [ "$(inode "$disk/demo/appgrid/mine.txt")" = "$before" ] || fail "$row: mine.txt is not the user's file where it was"
  [ "$(cat "$disk/demo/appgrid/mine.txt")" = "mine" ] || fail "$row: mine.txt changed"
  left=$(ls -A "$disk/demo" | grep -vx 'gridedit\|hydrosum\|appgrid\|intersect\|surfmesh\|convert\|design-loop\|\.make-demo-lock' || :)
  [ -z "$left" ] || [ "$left" = .make-demo-scratch ] || fail "$row: left besides the folders: $left"
  if [ -n "$left" ]; then
    (cd "$disk/demo/.make-demo-scratch" && find . ! -type d) | while read -r f; do
      [ -f "$work/first/$f" ] || fail "$row: left in the scratch folder, not one of the demo's outputs: $f"
    done
  fi
  run "$row, then a run"
  expect 0
  ended_well
done <<'TABLE'
the-lock-taken
while-appgrid-runs
files-going-into-place
files-in-place
TABLE

# locks an older version left, each with a run after it: a symbolic link
# naming a pid, dead or living (this test's own, as a pid reused by another
# process is), with or without the mark of a takeover by a dead or a living
# run; both block nothing, and go. A file of that name, not a lock, blocks
# nothing either and stays.
dead=$(sh -c 'echo $$')
dead2=$(sh -c 'echo $$')
pid_of() { case $1 in dead) echo "$dead" ;; dead2) echo "$dead2" ;; live) echo "$$" ;; esac; }
# row                      lock  mark of the lock's pid
while read -r row to mark; do
  start
  case $to in
    file) echo "not a lock" | tee "$work/expected/.make-demo-running" > "$disk/demo/.make-demo-running" ;;
    *) ln -s "$(pid_of "$to")" "$disk/demo/.make-demo-running" ;;
  esac
  [ "$mark" = - ] || ln -s "$(pid_of "$mark")" "$disk/demo/.make-demo-running.$(pid_of "$to")"
  run "$row"
  expect 0
  ended_well
done <<'TABLE'
held-by-the-dead          dead  -
taken-over-by-the-dead    dead  dead2
taken-over-by-the-living  dead  live
held-by-the-living        live  -
not-a-lock                file  -
TABLE

# what an older version left set aside: appgrid's in the demo's folder (the
# user's mine.txt; runs/try.net, into a runs/ the folder holds too; a
# transcript whose name the folder holds, which cannot go back), gridedit's
# in the build folder, as the version before it held it
row="held by an older version"
start
held=$disk/demo/.make-demo-held.Xy12Ab
mkdir -p "$held/appgrid/runs" "$case/demo-held.Ab12Cd/gridedit" "$disk/demo/appgrid/runs"
: > "$held/.running"
mv "$disk/demo/appgrid/mine.txt" "$held/appgrid/"
mv "$disk/demo/gridedit/notes.txt" "$case/demo-held.Ab12Cd/gridedit/"
echo "the user's transcript" > "$held/appgrid/appgrid.transcript"
echo "a try" > "$held/appgrid/runs/try.net"
echo "another" > "$disk/demo/appgrid/runs/other.net"
mine=$(inode "$held/appgrid/mine.txt")
mkdir -p "$work/expected/appgrid/runs"
cp "$disk/demo/appgrid/runs/other.net" "$held/appgrid/runs/try.net" "$work/expected/appgrid/runs/"
printf '%s\n' "kept in $demo/gridedit, not written by the demo: notes.txt" \
  "kept in $demo/appgrid, not written by the demo: mine.txt, runs/" > "$work/kept.expected"
run "$row"
expect 1 "make demo: left in $demo/.make-demo-held.Xy12Ab/appgrid, not put back into $demo/appgrid: appgrid.transcript" \
  "make demo: put back in $demo/gridedit what an earlier make demo had set aside"
[ "$(cat "$held/appgrid/appgrid.transcript")" = "the user's transcript" ] || fail "$row: the held transcript changed"
[ "$(cd "$held" && find . | sort | paste -s -d ' ')" = ". ./appgrid ./appgrid/appgrid.transcript" ] ||
  fail "$row: held besides: $(cd "$held" && find .)"
[ "$(inode "$disk/demo/appgrid/mine.txt")" = "$mine" ] || fail "$row: mine.txt not put back by a rename"
mv "$held" "$work/held"
ended_well
echo "make demo one run at a time, killed outright at each point of its work: nothing lost, nothing left but its own"
