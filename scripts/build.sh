#!/usr/bin/env bash
# Configures and builds into ${BUILD_DIR:-build}; extra arguments go to cmake.
# Warnings are errors here (and so in CI, which builds through this script).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DKELVORA_WERROR=ON "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
