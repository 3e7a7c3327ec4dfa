#!/usr/bin/env bash
# Fails when a C++ source of the project differs from what .clang-format
# makes of it; prints the places. Run from anywhere.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "formatting differs from .clang-format: run clang-format -i on the files above" >&2
    exit 1
fi
