#!/usr/bin/env bash
# Fails when the code under src/ uses itself in a circle; prints the circles.
# The graph comes from the `#include "…"` lines: a module (a header and the
# source of the same name, or either alone) uses the modules it includes, and
# a folder uses the folders its modules include. A circle of any length, among
# modules or among folders, fails, so every folder uses only folders below it
# and the code reads from the top down. A quoted include must name a file
# under src/ from there, as every source does, so that none escapes the graph.
# The one use without an include is the link-time seam of file_buffer.h,
# whose byte-moving calls files.cpp gives (the native tests give their own).
# Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
module_edges=()
folder_edges=()
unresolved=0
for file in "${files[@]}"; do
    from="${file%.*}"
    module_edges+=("$from $from")
    while IFS= read -r included; do
        if [ ! -f "src/$included" ]; then
            echo "$file: includes \"$included\", which is no file under src/" >&2
            unresolved=1
            continue
        fi
        to="src/${included%.*}"
        module_edges+=("$from $to")
        folder_edges+=("${from%/*} ${to%/*}")
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done

# tsort names every circle it has to break, and then fails.
circles=0
if ! printf '%s\n' "${module_edges[@]}" | tsort >/dev/null; then
    echo "the modules above use each other in a circle" >&2
    circles=1
fi
if ! printf '%s\n' "${folder_edges[@]}" | tsort >/dev/null; then
    echo "the folders above use each other in a circle" >&2
    circles=1
fi
if [ "$unresolved" -ne 0 ] || [ "$circles" -ne 0 ]; then
    echo "each folder of src/ uses only the folders below it, and no module uses one that uses it" >&2
    exit 1
fi
