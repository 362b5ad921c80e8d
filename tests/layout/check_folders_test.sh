#!/bin/sh
# The folder check itself, on small trees made here: it must find a circle of
# any length, name it, and leave alone what is no include between folders.
# Usage: check_folders_test.sh CHECK_SCRIPT
set -u
check=${1:?usage: check_folders_test.sh CHECK_SCRIPT}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# case NAME EXPECTED_STATUS EXPECTED_LINE FILE:INCLUDE...
# Each FILE (below a fresh tree) gets one line #include "INCLUDE" (or <...>).
case_() {
    name=$1 status=$2 line=$3
    shift 3
    tree=$scratch/$name
    mkdir -p "$tree"
    for pair in "$@"; do
        file=${pair%%:*} include=${pair#*:}
        mkdir -p "$tree/$(dirname "$file")"
        case $include in
        '<'*) echo "#include $include" >>"$tree/$file" ;;
        *) echo "#include \"$include\"" >>"$tree/$file" ;;
        esac
    done
    output=$("$check" "$tree" 2>&1)
    got=$?
    if [ "$got" != "$status" ]; then
        echo "FAIL $name: status $got, expected $status"; echo "$output"; failures=$((failures + 1))
    elif [ -n "$line" ] && ! printf '%s\n' "$output" | grep -qxF "$line"; then
        echo "FAIL $name: no line '$line'"; echo "$output"; failures=$((failures + 1))
    elif [ "$status" = 0 ] && printf '%s\n' "$output" | grep -q 'folder cycle'; then
        echo "FAIL $name: reports a cycle"; echo "$output"; failures=$((failures + 1))
    else
        echo "ok   $name"
    fi
}

case_ downward 0 "app -> toolkit ui" \
    app/main.cpp:ui/access.h app/main.cpp:toolkit/toolkit.h ui/access.cpp:toolkit/toolkit.h \
    toolkit/toolkit.cpp:"<Xm/Xm.h>"
case_ two_folders 1 "folder cycle: app -> ui -> app" \
    app/main.cpp:ui/access.h ui/access.cpp:app/app.h
case_ three_folders 1 "folder cycle: a -> b -> c -> a" \
    b/x.cpp:c/y.h c/y.cpp:a/z.h a/z.cpp:b/x.h
case_ through_a_header 1 "folder cycle: a -> b -> a" \
    b/x.h:a/y.h a/y.cpp:b/x.h
case_ not_between_folders 0 "" \
    a/x.cpp:a/y.h a/x.cpp:'<X11/Intrinsic.h>' a/x.cpp:plain.h a/x.cpp:nofolder/z.h b/y.cpp:a/x.h
case_ circle_beside_a_tree 1 "folder cycle: c -> d -> c" \
    a/x.cpp:b/y.h b/y.cpp:c/z.h c/z.cpp:d/w.h d/w.cpp:c/z.h
case_ core_beside_its_family 0 "charges -> core/charges core/link" \
    charges/calls.cpp:charges/format.h charges/calls.cpp:link/line.h core/charges/format.h:link/line.h \
    core/charges/format.cpp:charges/format.h core/link/line.cpp:link/line.h
case_ circle_in_the_core 1 "folder cycle: core/a -> core/b -> core/a" \
    core/a/x.cpp:b/y.h core/b/y.h:a/x.h

[ "$failures" = 0 ] && echo "all cases passed" && exit 0
echo "$failures case(s) failed"
exit 1
