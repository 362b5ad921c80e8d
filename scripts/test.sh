#!/usr/bin/env bash
# Installs what is missing, builds and runs every test with ctest.  Tests run
# ${TEST_JOBS:-2} at a time; each test that needs an X server gets one of
# TEST_JOBS Xvfb servers to itself for as long as it runs (ctest's resource
# groups), so GUI tests never share a pointer, focus or screen.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh "$@"
build=${BUILD_DIR:-build}
jobs=${TEST_JOBS:-2}
. scripts/xservers.sh
start_xservers "$jobs" "$build/xservers.json"
cd "$build"
ctest --output-on-failure -j"$jobs" --timeout 600 --resource-spec-file xservers.json
