#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/, with clang++, in build-fuzz) and runs
# them, one per core at a time (FUZZ_JOBS=N: N at a time).
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]   each target SECONDS long (default 1800)
#   scripts/fuzz.sh --smoke [TARGET...]     10 s each, on the seed corpus (CI)
#
# FUZZ_RUNS=N stops a target after N executions even before its time is up.
# New inputs a run finds are kept in build-fuzz/corpus/<target> (the seeds in
# fuzz/corpus/ stay as they are); a finding is written to
# build-fuzz/artifacts/<target>/ and makes the script fail.  Installs clang and
# its libFuzzer runtime when missing (needs root then).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=1800
smoke=0
if [ "${1:-}" = --smoke ]; then
  smoke=1
  seconds=10
  shift
elif [[ ${1:-} =~ ^[0-9]+$ ]]; then
  seconds=$1
  shift
fi

packages=(clang libclang-rt-14-dev cmake make libmotif-dev libxt-dev libx11-dev libexpat1-dev)
. scripts/packages.sh
install_missing "${packages[@]}"

build=build-fuzz
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DKELVORA_FUZZ=ON -DKELVORA_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"${FUZZ_BUILD_JOBS:-2}"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(grep -v '^$' "$build/fuzz/targets.txt")
fi

# A small quarantine keeps big records from making every run an mmap; leaks
# and use after free of the same run are still caught.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# One target: its log in build-fuzz/fuzz-<target>.log, its summary line in
# build-fuzz/fuzz-<target>.result ("ok" or "FAILED" when it found something).
fuzz_one() {
  local t=$1 bin=$build/fuzz/fuzz_$1 seeds=fuzz/corpus/$1
  local work=$build/corpus/$1 artifacts=$build/artifacts/$1 log=$build/fuzz-$1.log
  local args corpora result runs rate line
  mkdir -p "$work" "$artifacts"
  args=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/")
  [ -n "${FUZZ_RUNS:-}" ] && args+=(-runs="$FUZZ_RUNS")
  if [ $smoke = 1 ]; then
    # Only the seeds: new inputs go to a scratch directory.
    work=$(mktemp -d)
  fi
  corpora=("$work")
  [ -d "$seeds" ] && corpora+=("$seeds")
  echo "== $t: ${seconds}s"
  if "$bin" "${args[@]}" "${corpora[@]}" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    { grep -E 'ERROR|SUMMARY|^[a-z_]+: ' "$log" | head -20 || true
      echo "   (log: $log; input: $(ls -t "$artifacts" | head -1))"; } | sed "s/^/$t: /"
  fi
  [ $smoke = 1 ] && rm -rf "$work"
  runs=$(grep -oP 'stat::number_of_executed_units:\s*\K[0-9]+' "$log" | tail -1 || true)
  rate=$(grep -oP 'stat::average_exec_per_sec:\s*\K[0-9]+' "$log" | tail -1 || true)
  line=$(printf '%-16s %-6s %12s executions %8s exec/s' "$t" "$result" "${runs:-?}" "${rate:-?}")
  echo "   $line"
  echo "$line" >"$build/fuzz-$t.result"
}

for t in "${targets[@]}"; do
  [ -x "$build/fuzz/fuzz_$t" ] || { echo "no such target: $t"; exit 2; }
  rm -f "$build/fuzz-$t.result"
done
# FUZZ_JOBS targets at a time (default: one per core); each is one process.
jobs=${FUZZ_JOBS:-$(nproc)}
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  fuzz_one "$t" &
done
wait
# The result files, not the exit codes, tell how each target ended.
status=0
echo "== fuzzing summary"
for t in "${targets[@]}"; do
  if [ -f "$build/fuzz-$t.result" ]; then
    cat "$build/fuzz-$t.result"
    grep -q ' ok ' "$build/fuzz-$t.result" || status=1
  else
    echo "$t: no result"
    status=1
  fi
done
exit $status
