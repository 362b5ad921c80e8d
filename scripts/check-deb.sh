#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian package: builds kelvora_*.deb (unless one is given), runs
# lintian on it (no error and no warning may remain), then makes a minimal
# bookworm system with debootstrap, installs the package there with apt (its
# dependencies come from Debian's mirror), runs kelvora-pbxsim and kelvora on
# Xvfb inside it and looks for kelvora's window.  Finally removes the package
# again.  Needs root and the network to the Debian mirror; takes a few
# minutes.  With --lint it stops after lintian (CI runs that part).
#
#   scripts/check-deb.sh [--lint] [PACKAGE.deb]
#
# CHROOT=DIR uses (and keeps) DIR for the system instead of a fresh scratch
# folder; an existing bookworm there is used as it is.  The screenshot of the
# screen is left as /tmp/kelvora-deb-check.xwd (and .png when ImageMagick is
# there).
set -euo pipefail
cd "$(dirname "$0")/.."
mirror=${MIRROR:-http://deb.debian.org/debian}

lint_only=no
if [ "${1:-}" = --lint ]; then
  lint_only=yes
  shift
fi

tools=(dpkg-dev lintian)
[ $lint_only = yes ] || tools+=(debootstrap)
. scripts/packages.sh
install_missing "${tools[@]}"

deb=${1:-}
if [ -z "$deb" ]; then
  scripts/deps.sh
  build=${BUILD_DIR:-build}
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build" -j"$(nproc)"
  (cd "$build" && rm -f kelvora_*.deb && cpack -G DEB >/dev/null)
  deb=$(ls "$build"/kelvora_*.deb)
fi
deb=$(realpath "$deb")
echo "package: $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb -f "$deb" Depends | sed 's/^/Depends: /'

# Errors and warnings fail; what is left of the pedantic and informational
# tags is shown (see docs/testing.md for why each of them stays).
echo "== lintian --info --pedantic $(basename "$deb")"
lintian --info --pedantic --fail-on error,warning "$deb" && lint=0 || lint=$?
[ $lint = 0 ] || { echo "FAIL: lintian reports errors or warnings"; exit 1; }
echo "lintian: no errors, no warnings"
[ $lint_only = yes ] && exit 0

keep=yes
root=${CHROOT:-}
if [ -z "$root" ]; then
  root=$(mktemp -d /tmp/kelvora-deb-check.XXXXXX)
  chmod 755 "$root" # apt's download user has to get in
  keep=no
fi
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount "${mounted[i]}" 2>/dev/null || umount -l "${mounted[i]}"; done
  [ "$keep" = no ] && rm -rf --one-file-system "$root"
  return 0
}
trap cleanup EXIT

if [ ! -x "$root/usr/bin/apt-get" ]; then
  echo "debootstrap bookworm into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -20 "$root.debootstrap.log"; exit 1; }
  rm -f "$root.debootstrap.log"
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
for m in proc dev dev/pts; do
  case $m in
    proc) mount -t proc proc "$root/proc" ;;
    *) mount --bind "/$m" "$root/$m" ;;
  esac
  mounted+=("$root/$m")
done
cp "$deb" "$root/tmp/"
name=$(basename "$deb")

# Everything below runs inside the fresh system.
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  DEBIAN_FRONTEND=noninteractive /bin/bash -s "$name" <<'INSIDE'
set -euo pipefail
name=$1
fail() { echo "FAIL: $*"; exit 1; }
echo "== inside: $(. /etc/os-release; echo "$PRETTY_NAME")"
apt-get update -q >/dev/null
echo "== apt-get install -y ./$name"
apt-get install -y -q "/tmp/$name" >/tmp/apt-kelvora.log 2>&1 || { tail -30 /tmp/apt-kelvora.log; fail "apt-get install"; }
sed -n '/NEW packages/,/upgraded/p' /tmp/apt-kelvora.log
dpkg -s kelvora | grep -E '^(Status|Version|Depends):'
for f in /usr/bin/kelvora /usr/bin/kelvoractl /usr/bin/kelvora-pbxsim /usr/share/man/man1/kelvora.1.gz \
         /usr/share/man/man1/kelvoractl.1.gz /usr/share/man/man1/kelvora-pbxsim.1.gz \
         /usr/share/bash-completion/completions/kelvoractl /usr/share/doc/kelvora/copyright \
         /usr/share/doc/kelvora/changelog.gz \
         /usr/share/applications/kelvora.desktop /usr/share/icons/hicolor/scalable/apps/kelvora.svg; do
  [ -e "$f" ] || fail "$f is missing"
done
[ -d /usr/local/kelvora/etc ] || fail "postinst made no /usr/local/kelvora/etc"
echo "files directory: $(stat -c '%A %U:%G %n' /usr/local/kelvora/etc)"
ldd /usr/bin/kelvora | grep 'not found' && fail "kelvora lacks a library"
ldd /usr/bin/kelvoractl | grep -E 'not found|libX' && fail "kelvoractl lacks a library or links X"

echo "== apt-get install -y xvfb x11-utils x11-apps xdotool"
apt-get install -y -q xvfb x11-utils x11-apps xdotool >/tmp/apt-x.log 2>&1 || { tail -30 /tmp/apt-x.log; fail "apt-get install xvfb"; }
pids=()
stop() { for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; wait "${pids[i]}" 2>/dev/null || true; done; pids=(); }
trap stop EXIT
Xvfb :57 -screen 0 1024x768x24 -nolisten tcp -noreset >/tmp/xvfb.log 2>&1 &
pids+=($!)
kelvora-pbxsim --link /tmp/pbx --log /tmp/pbx.log >/tmp/pbxsim.out 2>&1 &
simpid=$!
pids+=($simpid)
for _ in $(seq 50); do [ -e /tmp/pbx ] && [ -e /tmp/.X11-unix/X57 ] && break; sleep 0.1; done
cat /tmp/pbxsim.out
[ -e /tmp/pbx ] && kill -0 $simpid 2>/dev/null || fail "kelvora-pbxsim made no /tmp/pbx"
export DISPLAY=:57
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
set +e
DISPLAY= KELVORA_DEVICE= kelvora >/tmp/usage.out 2>&1
rc=$?
set -e
[ $rc -eq 1 ] && grep -q '^usage: kelvora' /tmp/usage.out || fail "kelvora without a device: status $rc, $(cat /tmp/usage.out)"
echo "kelvora without a device: status 1, $(cat /tmp/usage.out)"
# As the desktop entry starts it: the line from the environment.
KELVORA_DEVICE=/tmp/pbx kelvora >/tmp/kelvora.out 2>&1 &
kpid=$!
pids+=($kpid)
found=
for _ in $(seq 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"kelvora"'; then found=yes; break; fi
  kill -0 $kpid 2>/dev/null || break
  sleep 0.1
done
sleep 1
kill -0 $kpid 2>/dev/null || { cat /tmp/kelvora.out; fail "kelvora exited"; }
[ -n "$found" ] || { cat /tmp/kelvora.out; fail "no kelvora window"; }
echo "== xwininfo -root -tree (kelvora's windows)"
xwininfo -root -tree | grep -E '"kelvora"|Kelvora' | head -5
# "Auslesen" (read the configuration) in the main window, which sits at +0+0
# with no window manager; its place is that of the built-in resources.
xdotool mousemove --sync 138 344 click 1
for _ in $(seq 100); do grep -q '^< 05 63 ' /tmp/pbx.log && break; sleep 0.1; done
sleep 1
echo "== pbxsim's log of the read: $(grep -c '^<' /tmp/pbx.log) lines from kelvora, $(grep -c '^>' /tmp/pbx.log) answers"
grep -q '^< 05 62 ' /tmp/pbx.log || fail "no begin of read (98) reached pbxsim"
grep -q '^< 05 63 ' /tmp/pbx.log || fail "no end of transmission (99) reached pbxsim"
grep '^#' /tmp/pbx.log && fail "pbxsim reports a problem with a frame"
ls /var/lock/LCK..pbx 2>/dev/null && fail "the lock file is still there after the read"
echo "read ended, lock /var/lock/LCK..pbx released"
# kelvoractl on the same line, with no display at all.
DISPLAY= kelvoractl -d /tmp/pbx read-config /tmp/ctl.cfg || fail "kelvoractl read-config: status $?"
[ "$(stat -c %s /tmp/ctl.cfg)" = 2134 ] || fail "kelvoractl wrote no configuration file"
kelvoractl show /tmp/ctl.cfg | grep -q '^Globale Anlagendaten: Ortsvorwahl: ' || fail "kelvoractl show"
echo "kelvoractl read the configuration without a display"
xwd -root -silent >/tmp/kelvora-deb-check.xwd
stop
trap - EXIT
if [ -s /tmp/kelvora.out ]; then echo "kelvora printed:"; cat /tmp/kelvora.out; fi

echo "== apt-get remove -y kelvora"
apt-get remove -y -q kelvora >/dev/null 2>&1 || fail "apt-get remove"
[ ! -e /usr/bin/kelvora ] || fail "/usr/bin/kelvora is still there"
[ ! -e /usr/local/kelvora ] || fail "postrm left the empty /usr/local/kelvora"
echo "removed; /usr/local/kelvora is gone as well"
echo "PASS"
INSIDE

cp "$root/tmp/kelvora-deb-check.xwd" /tmp/
if [ -x /usr/bin/convert ]; then
  /usr/bin/convert xwd:/tmp/kelvora-deb-check.xwd /tmp/kelvora-deb-check.png &&
    echo "screenshot: /tmp/kelvora-deb-check.png"
fi
