#!/usr/bin/env bash
# Installs the Debian packages kelvora needs to build, run and test -- only those
# that are missing, non-interactively.  Needs root when something is missing.
set -euo pipefail
packages=(g++ cmake make libmotif-dev libxt-dev libx11-dev libxmu-dev libgtest-dev bash-completion
          xvfb xauth xfonts-base fonts-dejavu-core locales xdotool x11-apps imagemagick man-db groff-base
          libexpat1-dev chromium poppler-utils # the overview page is shown and printed in a real browser
          ser2net iproute2)  # the PBX over the network: ser2net serves the simulator, tc adds delay
. "$(dirname "$0")/packages.sh"
install_missing "${packages[@]}"
# The window is tested in a German UTF-8 locale too.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "generating the locale de_DE.UTF-8"
  sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
