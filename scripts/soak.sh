#!/usr/bin/env bash
# Soak runs (not part of CI), each on a fresh Xvfb.
#
# 1. Memory: 500 configuration read/program cycles (or the count given) in one
#    process against pbxsim; fails when the open descriptors grew at all after
#    the first cycle, or its memory more than the stated tolerances.  About 6
#    minutes for 500 cycles.
# 2. The window (kelvora_soak --window): sequences of Auslesen, Sichern, Laden,
#    Programmieren and the speed-dial dialog's transfers and files, with close
#    requests to the main window and focus moves at random moments, clicked
#    through the X server, in a sanitizer tree (AddressSanitizer, UBSan) and
#    under valgrind.  Any report fails it, and so does a window that takes no
#    click.  About 2 minutes for the default 20 cycles (WINDOW_CYCLES).
#
#   scripts/soak.sh [CYCLES]
#
# glibc's per-thread cache keeps freed blocks that mallinfo2 still counts as in
# use; it is turned off here so that the heap figure shows what the program
# holds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
. scripts/packages.sh
install_missing valgrind
build=${BUILD_DIR:-build}
asan=${ASAN_BUILD_DIR:-build-asan}
window_cycles=${WINDOW_CYCLES:-20}
xvfb=(xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp")

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target kelvora_soak
GLIBC_TUNABLES=glibc.malloc.tcache_count=0 "${xvfb[@]}" "$build/kelvora_soak" "${1:-500}"

echo
echo "window soak, AddressSanitizer and UBSan ($asan):"
cmake -S . -B "$asan" -DKELVORA_SANITIZE=ON >/dev/null
cmake --build "$asan" -j"$(nproc)" --target kelvora_soak
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  "${xvfb[@]}" "$asan/kelvora_soak" --window "$window_cycles"

echo
echo "window soak, valgrind ($build):"
"${xvfb[@]}" valgrind --error-exitcode=9 --num-callers=30 --suppressions=scripts/soak.supp \
  "$build/kelvora_soak" --window "$((window_cycles / 4 + 1))"
