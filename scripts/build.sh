#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}; extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
