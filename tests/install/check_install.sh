#!/usr/bin/env bash
# Installs the build tree BUILD with "cmake --install" under a few prefixes into
# a scratch DESTDIR and compares what lands there with what should: the three
# programs, their manual pages (compressed), kelvoractl's bash completion, the
# desktop entry and the icon, the copyright file and the changelog, and the files
# directory /usr/local/kelvora/etc only when the prefix is /usr/local.  Nothing
# else: no test program, no library, no benchmark.  Usage: check_install.sh BUILD
set -u
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# prefix | what is expected below DESTDIR, "@" standing for the prefix
cases=(
  "/usr/local|@/kelvora/etc/"
  "/usr|"
  "/opt/kelvora|"
)
common="@/bin/kelvora @/bin/kelvoractl @/bin/kelvora-pbxsim
@/share/man/man1/kelvora.1.gz @/share/man/man1/kelvoractl.1.gz @/share/man/man1/kelvora-pbxsim.1.gz
@/share/applications/kelvora.desktop @/share/icons/hicolor/scalable/apps/kelvora.svg
@/share/bash-completion/completions/kelvoractl
@/share/doc/kelvora/copyright @/share/doc/kelvora/changelog.gz"
src=$(dirname "$0")/../..

status=0
n=0
for c in "${cases[@]}"; do
  prefix=${c%%|*}
  extra=${c#*|}
  n=$((n + 1))
  dest=$scratch/$n
  if ! DESTDIR=$dest cmake --install "$build" --prefix "$prefix" >"$scratch/log$n" 2>&1; then
    echo "prefix $prefix: cmake --install failed:"; cat "$scratch/log$n"; status=1; continue
  fi
  expected=$(for p in $common $extra; do echo "${p//@/${prefix#/}}"; done | sort)
  # Files, and directories that are empty (shown with a trailing slash).
  actual=$(cd "$dest" && { find . -type f; find . -type d -empty -printf '%p/\n'; } | sed 's|^\./||' | sort)
  if [ "$expected" != "$actual" ]; then
    echo "prefix $prefix: installed tree differs (< expected, > installed):"
    diff <(echo "$expected") <(echo "$actual")
    status=1
    continue
  fi
  # The simulator is built as pbxsim and installed as kelvora-pbxsim.
  for pair in kelvora:kelvora kelvoractl:kelvoractl kelvora-pbxsim:pbxsim; do
    prog=${pair%%:*} built=${pair#*:}
    if [ ! -x "$dest$prefix/bin/$prog" ] || ! cmp -s "$dest$prefix/bin/$prog" "$build/$built"; then
      echo "prefix $prefix: bin/$prog is not the built, executable $built"; status=1
    fi
  done
  for page in kelvora kelvoractl kelvora-pbxsim; do
    if ! zcmp -s "$dest$prefix/share/man/man1/$page.1.gz" "$src/man/$page.1"; then
      echo "prefix $prefix: man1/$page.1.gz is not man/$page.1"; status=1
    fi
  done
  for pair in bash-completion/completions/kelvoractl:data/kelvoractl.bash-completion \
              doc/kelvora/copyright:cmake/debian/copyright; do
    if ! cmp -s "$dest$prefix/share/${pair%%:*}" "$src/${pair#*:}"; then
      echo "prefix $prefix: share/${pair%%:*} is not ${pair#*:}"; status=1
    fi
  done
  # The newest entry is the version the programs print.
  version=$("$build/kelvoractl" --version | cut -d' ' -f2)
  if ! zcat "$dest$prefix/share/doc/kelvora/changelog.gz" | head -1 | grep -qx "kelvora ($version) unstable; urgency=medium"; then
    echo "prefix $prefix: changelog.gz does not start with version $version"; status=1
  fi
  echo "prefix $prefix: $(echo "$actual" | wc -l) entries as expected"
done
exit $status
