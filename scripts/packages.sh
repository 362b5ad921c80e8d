# shellcheck shell=bash
# Sourced by the set-up scripts.  install_missing PACKAGE...: installs those of
# the Debian packages that are not installed yet, non-interactively (needs root
# when one is missing).
install_missing() {
  local p missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
}
