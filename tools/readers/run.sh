#!/bin/sh
# Loads the files the demo wrote for other tools in real readers: VTK for
# Tecplot and PLOT3D files, OpenCASCADE for IGES files, and renders the
# design loop's result (under Xvfb when there is no display). Not part of
# CI: it installs what it needs with apt-get. Each check_* (.py or .sh)
# gets the demo folder and the build folder, prints one line per file and
# exits non-zero on any failure.
set -u
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
demo=$(cd "$build/demo" 2>/dev/null && pwd) || { echo "no demo outputs under $build/demo: run make demo first"; exit 1; }

need() {  # need <package>...: install the Debian packages that are missing
  missing=""
  for p in "$@"; do dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"; done
  [ -z "$missing" ] && return 0
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  $sudo_cmd apt-get update -qq && $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
}

need python3-vtk9 libocct-data-exchange-dev g++ xvfb

status=0
for check in "$here"/check_*; do
  [ -f "$check" ] || continue
  echo "== $(basename "$check")"
  case "$check" in
    *.py) /usr/bin/python3 "$check" "$demo" "$build" || status=1 ;;
    *.sh) sh "$check" "$demo" "$build" || status=1 ;;
  esac
done
exit $status
