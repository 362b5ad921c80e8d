#!/usr/bin/env bash
# kelvoractl's bash completion, run as bash runs it on a TAB: the commands
# and options kelvoractl --help names, and files by kind.
# Usage: check_completion.sh KELVORACTL COMPLETION
set -u
export LC_ALL=C # the order sort gives
ctl=$(realpath "$1")
completion=$(realpath "$2")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
if [ ! -r /usr/share/bash-completion/bash_completion ]; then
  echo "bash-completion is not installed"; exit 1
fi
. /usr/share/bash-completion/bash_completion
. "$completion"
cd "$scratch" && mkdir sub && touch a.cfg b.kwz c.tnd d.csv e.vcf F.VCF notes.txt

# The offers for the line typed so far, sorted, on one line.  The words are
# split as bash splits them, "=" a word of its own.
offers() {
  local line="$ctl $1" w
  COMP_LINE=$line COMP_POINT=${#line} COMP_WORDS=()
  for w in $line; do
    if [[ $w == --*=* ]]; then COMP_WORDS+=("${w%%=*}" "=" "${w#*=}"); else COMP_WORDS+=("$w"); fi
  done
  [[ $line == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _kelvoractl kelvoractl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}" 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ' 
}

status=0
n=0
# typed | offered
while IFS='|' read -r typed expected; do
  n=$((n + 1))
  actual=$(offers "$typed")
  if [ "$actual" != "$expected" ]; then
    echo "\"kelvoractl $typed\": offered \"$actual\", expected \"$expected\""; status=1
  fi
done <<'CASES'
-|--help --version -D -d -h -q
-q read-|read-config read-speeddial read-subscribers
-d /dev/ttyS0 program-|program-config program-speeddial program-subscribers
read-config |a.cfg sub
read-config x.cfg --|--help --ident --no-backup
read-config x.cfg --ident=|dorvan ostrale
read-config x.cfg --ident o|ostrale
read-config x.cfg |
program-subscribers |c.tnd sub
calls |in out
calls out --|--csv --help --names --print --print-command --print-encoding --sheet
print-speeddial |b.kwz sub
print-speeddial b.kwz --print-encoding |latin1 utf8
calls out --names |b.kwz sub
backup |sub
show |F.VCF a.cfg b.kwz c.tnd d.csv e.vcf notes.txt sub
set --|--dry-run --help --no-backup --pbx --yes
apply |notes.txt sub
phonebook-import |F.VCF d.csv e.vcf sub
phonebook-import --replace d.csv |b.kwz sub
phonebook-import --country |
phonebook-import --country 49 |F.VCF d.csv e.vcf sub
phonebook-export b.kwz |F.VCF d.csv e.vcf sub
set a.cfg |
CASES

# Every command of --help is offered.
commands=$("$ctl" --help | sed -n '/^Commands:/,/^$/s/^  \([^ ]*\).*/\1/p' | sort | paste -sd' ')
if [ -z "$commands" ] || [ "$(offers '')" != "$commands" ]; then
  echo "the commands offered: \"$(offers '')\", --help names \"$commands\""; status=1
fi
[ $status = 0 ] && echo "$((n + 1)) completions as expected"
exit $status
