#!/usr/bin/env bash
# Soak run (not part of CI): builds kelvora_soak and runs it on a fresh Xvfb.
# It runs 500 configuration read/program cycles (or the count given) in one
# process against pbxsim, and fails when the open descriptors grew at all
# after the first cycle, or its memory more than the stated tolerances.  Takes
# about 6 minutes for 500 cycles.
#
#   scripts/soak.sh [CYCLES]
#
# glibc's per-thread cache keeps freed blocks that mallinfo2 still counts as in
# use; it is turned off here so that the heap figure shows what the program
# holds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelvora_soak
GLIBC_TUNABLES=glibc.malloc.tcache_count=0 \
  xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$build/kelvora_soak" "${1:-500}"
