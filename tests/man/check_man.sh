#!/usr/bin/env bash
# Renders each manual page given as man(1) and groff(1) would and fails on any
# warning or error they print (both exit 0 on warnings, so their standard
# error is what counts).  Usage: check_man.sh PAGE...
set -u
status=0
for page in "$@"; do
  if [ ! -r "$page" ]; then
    echo "$page: not readable"; status=1; continue
  fi
  out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null) || {
    echo "$page: man failed"; status=1; }
  [ -n "$out" ] && { echo "$page: man --warnings:"; echo "$out"; status=1; }
  out=$(groff -ww -mandoc -z "$page" 2>&1) || { echo "$page: groff failed"; status=1; }
  [ -n "$out" ] && { echo "$page: groff -ww:"; echo "$out"; status=1; }
  # The page has to say something: a NAME line with its own name.
  name=$(basename "$page" .1)
  grep -q "^$name \\\\- " "$page" || { echo "$page: no NAME line for $name"; status=1; }
done
[ $status -eq 0 ] && echo "$# pages rendered without warnings"
exit $status
