#!/usr/bin/env bash
# check-tidy.sh [-j JOBS] [BUILD...]: fails when clang-tidy (the checks of .clang-tidy)
# finds anything in the C++ sources of src/ and support/; prints the places.
# Each BUILD is a configured build folder whose compile_commands.json says how
# its sources compile; the default is build/windows-clang (the Win32 code read
# for its real target) and build/host (the portable modules as the sanitizer
# build compiles them). Configure those presets first. JOBS clang-tidy
# processes run at once (default: one a core). Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
jobs="$(nproc)"
if [ "${1:-}" = "-j" ]; then
    jobs="$2"
    shift 2
fi
builds=("$@")
[ ${#builds[@]} -eq 0 ] && builds=(build/windows-clang build/host)
tidy="$(command -v clang-tidy-14 || command -v clang-tidy)"
status=0
for build in "${builds[@]}"; do
    database="$build/compile_commands.json"
    if [ ! -f "$database" ]; then
        echo "check-tidy: no $database: configure that build first" >&2
        exit 1
    fi
    # CMake writes one `"file": "<absolute path>"` line for each source.
    mapfile -t files < <(sed -n 's/^ *"file": "\(.*\)",\{0,1\}$/\1/p' "$database" |
        grep -E "^$root/(src|support)/" | sort -u)
    if [ ${#files[@]} -eq 0 ]; then
        echo "check-tidy: $database names no source of src/ or support/" >&2
        exit 1
    fi
    echo "check-tidy: ${#files[@]} sources of $build" >&2
    # One clang-tidy a source, JOBS at once; xargs
    # fails when any of them does. --quiet leaves the findings and the count
    # of warnings in headers it skipped, which says nothing.
    output="$(printf '%s\0' "${files[@]}" |
        xargs -0 -n 1 -P "$jobs" "$tidy" --quiet -p "$build" 2>&1)" || status=1
    grep -v '^[0-9]* warnings\{0,1\} generated\.$' <<<"$output" || true
done
if [ "$status" -ne 0 ]; then
    echo "check-tidy: clang-tidy finds the above: fix the code, or where it is right say why beside a NOLINT" >&2
    exit 1
fi
