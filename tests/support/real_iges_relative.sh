#!/bin/sh
# A relative SUITE_IGES_DIR under ctest, which runs each test in its own
# build folder: two real-file tests of two build folders (support's and
# surfmesh's), run by a ctest of their own with the closing note after
# them, find the files in the folder named from the repository's top
# folder; with a folder that does not hold them, both skip naming the files
# there and the note counts all of them absent from there, once; a listing
# (ctest -N) after it, and a run of a test that reads none of them, give no
# note; with a folder holding two of them, the note alone, run elsewhere
# after a skip, counts the other 13.
# Usage: real_iges_relative.sh <ctest> <top folder> <real_iges_note> <support_tests> <its build folder>
#        <surfmesh_program_tests> <its build folder> <scratch folder>
set -eu
ctest=$1
top=$2
note=$3
support=$4
support_dir=$5
surfmesh=$6
surfmesh_dir=$7
work=$8
export LC_ALL=C
fail() { echo "$*"; exit 1; }
rm -rf "$work"
mkdir -p "$work/ctest" "$work/some"

hint='SUITE_IGES_DIR names the folder of real IGES files (by default ../shared/iges beside the project)'
# each test as gtest_discover_tests adds it: skipped where GoogleTest says so
skips=$work/skips
add() {
  printf '%s\n' "add_test($1 [==[$2]==] [==[--gtest_filter=$3]==])" \
    "set_tests_properties($1 PROPERTIES WORKING_DIRECTORY [==[$4]==] SKIP_REGULAR_EXPRESSION [==[\\[  SKIPPED \\]]==]" \
    "  ENVIRONMENT [==[SUITE_IGES_SKIPS=$skips]==])"
}
{
  add copies "$support" IgesCopies.RealFileCopiesNumberedAsOneFile "$support_dir"
  add hammer "$surfmesh" Shared/RealFile.CountsAndMeshes/hammer "$surfmesh_dir"
  add plain "$support" RealIges.AbsentFileSaysWhereAndWhichVariable "$support_dir"
} > "$work/ctest/CTestTestfile.cmake"
printf '%s\n' "set(CTEST_CUSTOM_PRE_TEST [==[rm -rf \"$skips\"]==])" \
  "set(CTEST_CUSTOM_POST_TEST [==[\"$note\" \"$skips\"]==])" > "$work/ctest/CTestCustom.cmake"

# ctest started elsewhere than the top folder, as make test starts it in build/
run_ctest() {  # run_ctest <SUITE_IGES_DIR> [ctest's options]
  dir=$1
  shift
  (cd "$work/ctest" && SUITE_IGES_DIR=$dir "$ctest" -V "$@" > "$work/out" 2>&1) || true
  ! grep -q 'CMake Warning\|CMake Error' "$work/out" || { cat "$work/out"; fail "ctest did not take the tests as written"; }
}

# a folder without the files: both skip, and the note counts all 15 there
run_ctest no/such/iges -R 'copies|hammer'
for t in copies hammer; do
  grep -q "Test #[12]: $t \.* *\*\*\*Skipped" "$work/out" || { cat "$work/out"; fail "$t did not skip"; }
done
for f in impeller.igs hammer.iges; do
  grep -qF "$top/no/such/iges/$f is absent; $hint" "$work/out" || { cat "$work/out"; fail "no skip naming $f"; }
done
want="15 of the 15 real IGES files are absent from $top/no/such/iges, and the tests that read them were skipped; $hint"
[ "$(grep -c 'real IGES files are absent' "$work/out")" = 1 ] && grep -qxF "$want" "$work/out" ||
  { cat "$work/out"; fail "wanted the note: $want"; }

# no test of the IGES files run, with the same folder: no note
run_ctest no/such/iges -N
! grep -q 'real IGES files are absent' "$work/out" || { cat "$work/out"; fail "a note for ctest -N"; }
run_ctest no/such/iges -R plain
grep -q '^100% tests passed, 0 tests failed out of 1$' "$work/out" || { cat "$work/out"; fail "plain did not pass"; }
! grep -q 'real IGES files are absent' "$work/out" || { cat "$work/out"; fail "a note for a run of no IGES test"; }

# a folder of two of them, named from the top folder, the note run from /
: > "$work/some/hammer.iges"
: > "$work/some/impeller.igs"
some=$(realpath -s -m --relative-to="$top" "$work/some")
case $some in /*) fail "no relative name of $work/some from $top" ;; esac
mkdir -p "$skips"
: > "$skips/hammer.iges"
got=$(cd / && SUITE_IGES_DIR=$some "$note" "$skips")
want="13 of the 15 real IGES files are absent from $work/some, and the tests that read them were skipped; $hint"
[ "$got" = "$want" ] || fail "note from /: $got
wanted: $want"

# the real files, named from the top folder: both run, and the note says nothing
real=${SUITE_IGES_DIR:-../shared/iges}
case $real in /*) real=$(realpath -s -m --relative-to="$top" "$real") ;; esac
for f in impeller.igs hammer.iges; do
  [ -f "$top/$real/$f" ] || { echo "$top/$real/$f is absent: the run that finds them skipped"; rm -rf "$work"; exit 77; }
done
run_ctest "$real" -R 'copies|hammer'
grep -q '^100% tests passed, 0 tests failed out of 2$' "$work/out" || { cat "$work/out"; fail "with $real: not both passed"; }
! grep -q 'Skipped\|real IGES files are absent' "$work/out" || { cat "$work/out"; fail "with $real: a skip or the note"; }
rm -rf "$work"
