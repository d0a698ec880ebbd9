# Sourced by the examples' demo.sh, which set bin, out and here:
# run <program> <answers> <transcript> runs the program in the output folder
# on a file of answers of the example's folder; a status other than 0 stops
# the demo, named with it.
run() {
  (cd "$out" && "$bin/$1" < "$here/$2" > "$3") || { rc=$?; printf '%s\n' "$1 < $2 > $3 ended with status $rc" >&2; exit "$rc"; }
}
