#!/usr/bin/env bash
# Runs every test program of a build tree once, all its tests in one process
# in random order, so state one test leaves to the next shows.  Two programs
# run at a time, each on an Xvfb server of its own.  The seed is printed
# (--gtest_random_seed=N repeats an order); a failing program's whole output is.
#
#   scripts/shuffled.sh [BUILD_DIR]      (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
. scripts/xservers.sh
start_xservers 2 "$build/xservers.json"

# The slow programs first, one to each server, the rest after them.
programs=()
for t in test_faults test_e2e test_link test_charges test_config; do
  [ -x "$build/tests/$t" ] && programs+=("$t")
done
for t in "$build"/tests/test_*; do
  n=$(basename "$t")
  [[ -f $t && -x $t ]] || continue
  [[ " ${programs[*]} " == *" $n "* ]] || programs+=("$n")
done

run_share() { # worker index, display
  local i=$1 status=0 out
  for ((k = i; k < ${#programs[@]}; k += 2)); do
    t=${programs[$k]}
    if out=$(cd "$build" && DISPLAY=":$2" "tests/$t" --gtest_shuffle 2>&1); then
      echo "-- $t: $(echo "$out" | grep -E 'Randomizing' | head -1) $(echo "$out" | grep -E '^\[  PASSED' | tail -1)"
    else
      echo "$out"
      echo "FAILED shuffled: $t"
      status=1
    fi
  done
  return $status
}

run_share 0 "${XSERVER_DISPLAYS[0]}" & first=$!
run_share 1 "${XSERVER_DISPLAYS[1]}" & second=$!
status=0
wait $first || status=1
wait $second || status=1
exit $status
