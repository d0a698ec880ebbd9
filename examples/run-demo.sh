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

# hydrosum: a small test matrix of force-moment files to result tables
rm -rf "$demo/hydrosum"; mkdir -p "$demo/hydrosum"
cp "$here/hydrosum/"*.fm "$here/hydrosum/"*.net "$demo/hydrosum/"
(cd "$demo/hydrosum" && "$bin/hydrosum" < "$here/hydrosum/deck.txt" > transcript.txt)
echo "hydrosum demo: transcript and tables in $demo/hydrosum"
ls "$demo/hydrosum" | grep -v "\.fm$\|\.net$" | sed 's/^/  /'
