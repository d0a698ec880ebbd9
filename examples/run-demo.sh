#!/bin/sh
# Runs each program of the suite on its example inputs; outputs under BUILD/demo.
set -e
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$build/bin" && pwd)
demo=$(mkdir -p "$build/demo" && cd "$build/demo" && pwd)

# gridedit: read a keel network, retitle it, write it whole and a subblock of it
rm -rf "$demo/gridedit"; mkdir -p "$demo/gridedit"
cp "$here/gridedit/keel.net" "$demo/gridedit/"
(cd "$demo/gridedit" && "$bin/gridedit" < "$here/gridedit/answers.txt" > transcript.txt)
echo "gridedit demo: transcript and networks in $demo/gridedit"
ls "$demo/gridedit" | sed 's/^/  /'
