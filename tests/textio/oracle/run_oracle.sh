#!/bin/sh
# Compares the layer with gfortran 12 on the same generated cases.
# Usage: run_oracle.sh DRIVER FORTRAN_SOURCE WORKDIR COUNT
# Exit 77 (skipped) when gfortran 12 is not on this machine.
set -e
driver=$1; src=$2; work=$3; count=${4:-100000}
command -v gfortran >/dev/null 2>&1 || { echo "gfortran not found: skipped"; exit 77; }
case "$(gfortran -dumpversion)" in
  12|12.*) ;;
  *) echo "gfortran is not version 12: skipped"; exit 77 ;;
esac
rm -rf "$work"; mkdir -p "$work"
"$driver" gen "$work" "$count" 20261210
gfortran -O0 -o "$work/oracle" "$src"
"$work/oracle" "$work/writes.txt" "$work/lreads.txt" "$work/freads.txt" > "$work/fortran.out"
"$driver" run "$work/writes.txt" "$work/lreads.txt" "$work/freads.txt" > "$work/layer.out"
if cmp -s "$work/fortran.out" "$work/layer.out"; then
  echo "oracle: $(wc -l < "$work/fortran.out") lines agree"
  exit 0
fi
echo "oracle: outputs differ (first differences, fortran < > layer):"
diff "$work/fortran.out" "$work/layer.out" | head -40
# name the case behind the first differing line
exit 1
