#!/usr/bin/env bash
# Installs what is missing, builds and starts kelvora.  Given a serial device it
# runs on that device; given none it starts the bundled PBX simulator on a
# pseudo-terminal and points kelvora at it.  Without a display it uses Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh
device=${1:-}
if [ -z "$device" ]; then
  device=$(mktemp -u /tmp/kelvora-pbx.XXXXXX)
  build/pbxsim --link "$device" &
  sim=$!
  trap 'kill $sim 2>/dev/null' EXIT
  for _ in $(seq 50); do [ -e "$device" ] && break; sleep 0.1; done
  echo "PBX simulator on $device"
fi
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" build/kelvora "$device"
else
  build/kelvora "$device"
fi
