#!/bin/sh
# Fails when folders of the source tree include from each other in a circle:
# the layers (app -> dialogs -> ui -> toolkit) only hold while every include
# points down.  Prints the folder graph, then each circle found.
# Usage: check_folders.sh SRC_DIR
set -eu
src=${1:?usage: check_folders.sh SRC_DIR}
cd "$src"

# One line "from to" per folder that includes a header of another folder.  A
# folder is one below src/ or below src/core/.  The core's include path is
# src/core, the window's src and src/core: an include names the folder where
# its header is (by the folder of that name when the header is not there).
edges=$(
    for dir in */ core/*/; do
        dir=${dir%/}
        [ "$dir" = core ] && continue
        case $dir in core/*) path="core" ;; *) path=". core" ;; esac
        find "$dir" -name '*.cpp' -o -name '*.h' | while read -r file; do
            sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^/"]*\/[^"]*\)".*/\1/p' "$file" |
                while read -r name; do
                    to=
                    for p in $path; do
                        if [ -z "$to" ] && [ -f "$p/$name" ]; then to=$p/${name%%/*}; fi
                    done
                    for p in $path; do
                        if [ -z "$to" ] && [ -d "$p/${name%%/*}" ]; then to=$p/${name%%/*}; fi
                    done
                    to=${to#./}
                    if [ -n "$to" ] && [ "$to" != "$dir" ] && [ "$to" != core ]; then echo "$dir $to"; fi
                done
        done
    done | sort -u
)

echo "$edges" | awk 'NF { out[$1] = out[$1] " " $2 } END { for (f in out) print f " ->" out[f] }' | sort

echo "$edges" | awk '
NF { next_[$1, ++n[$1]] = $2; nodes[$1]; nodes[$2] }
function visit(v,    i, w, k, cycle, start, j) {
    colour[v] = 1; stack[++depth] = v
    for (i = 1; i <= n[v]; i++) {
        w = next_[v, i]
        if (colour[w] == 1) {
            # The circle is the stack from w up; written from its smallest name
            # so that each is reported once.
            for (k = depth; stack[k] != w; k--) ;
            start = k
            for (j = k; j <= depth; j++) if (stack[j] < stack[start]) start = j
            cycle = ""
            for (j = start; j <= depth; j++) cycle = cycle stack[j] " -> "
            for (j = k; j < start; j++) cycle = cycle stack[j] " -> "
            cycle = cycle stack[start]
            if (!(cycle in seen)) { seen[cycle]; print "folder cycle: " cycle; found = 1 }
        } else if (colour[w] == 0) {
            visit(w)
        }
    }
    colour[v] = 2; depth--
}
END {
    for (v in nodes) if (colour[v] == 0) visit(v)
    exit found
}'
