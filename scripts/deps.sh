#!/usr/bin/env bash
# Installs the Debian packages kelvora needs to build, run and test -- only those
# that are missing, non-interactively.  Needs root when something is missing.
set -euo pipefail
packages=(g++ cmake make libmotif-dev libxt-dev libx11-dev libxmu-dev libgtest-dev bash-completion
          xvfb xauth xfonts-base xdotool x11-apps imagemagick man-db groff-base)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
