#!/usr/bin/env bash
# Fails when the core -- src/core and src/ctl, what kelvoractl is made of --
# includes an X, Xt or Motif header, directly or through any header it
# includes, or when the program links an X library.  Prints each offending chain of includes.
# Usage: check_core.sh SRC_DIR PROGRAM CORE_SOURCE...
set -u
src=${1:?usage: check_core.sh SRC_DIR PROGRAM CORE_SOURCE...}
program=${2:?}
shift 2
[ $# -gt 0 ] || { echo "no core sources given"; exit 1; }

status=0
declare -A seen
# file and the chain that led to it
queue=()
for f in "$@"; do queue+=("$f|$(basename "$f")"); done
while [ ${#queue[@]} -gt 0 ]; do
  item=${queue[0]}
  queue=("${queue[@]:1}")
  file=${item%%|*} chain=${item#*|}
  [ -n "${seen[$file]:-}" ] && continue
  seen[$file]=1
  while read -r kind name; do
    if [ "$kind" = system ]; then
      case $name in
        X11/*|Xm/*|Xmt/*) echo "X header <$name>: $chain"; status=1 ;;
      esac
    else
      # as the compiler looks: beside the file, then on the include path
      for dir in "$(dirname "$file")" "$src/core" "$src"; do
        if [ -f "$dir/$name" ]; then queue+=("$dir/$name|$chain -> $name"); break; fi
      done
    fi
  done < <(sed -n -e 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*<\([^>]*\)>.*/system \1/p' \
                  -e 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/local \1/p' "$file")
done
echo "${#seen[@]} files of the core read"

libs=$(ldd "$program" 2>&1) || { echo "ldd $program failed: $libs"; exit 1; }
if echo "$libs" | grep -E 'lib(X|Xm|Xt|ICE|SM)[^ ]*\.so' ; then
  echo "$program links an X library"; status=1
fi
[ $status -eq 0 ] && echo "no X header in the core, no X library in $(basename "$program")"
exit $status
