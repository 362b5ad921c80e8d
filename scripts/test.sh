#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; GUI tests run on Xvfb,
# one at a time by default, since they share its screen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh "$@"
build=${BUILD_DIR:-build}
cd "$build"
# One test at a time by default: GUI tests of different programs share this
# one X server (its pointer, focus and screen), and here it refuses a
# connection now and then while another client connects.
xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp -noreset" \
  ctest --output-on-failure -j"${TEST_JOBS:-1}" --timeout 600
