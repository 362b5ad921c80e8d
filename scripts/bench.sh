#!/usr/bin/env bash
# Builds kelvora and runs its benchmark on a fresh Xvfb: start-up time and
# memory of the real binary, and the configuration, subscriber and speed-dial
# reads and programming against pbxsim pacing a 4800-baud line.  Prints a table
# against the budgets; then the configuration read and the 1000 outgoing calls
# with the PBX behind ser2net on loopback, and 50 ms away; last kelvoractl apply
# on 10 MB of hostile text.  Takes a few minutes; don't run it next to a build
# if the figures matter.
#   scripts/bench.sh [--start-up | --network] [cmake options]
set -euo pipefail
cd "$(dirname "$0")/.."
only=()
case "${1:-}" in --start-up|--network) only=("$1"); shift ;; esac
scripts/deps.sh
scripts/build.sh "$@" >/dev/null
build=${BUILD_DIR:-build}
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$build/kelvora_bench" "${only[@]}"
[ ${#only[@]} -gt 0 ] || "$build/kelvoractl_apply_bench"
