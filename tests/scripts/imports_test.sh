#!/usr/bin/env bash
# imports_test.sh EXE: the DLLs EXE imports from are exactly the five that ship
# with every Windows (case as the linker wrote them does not matter). A C++ or
# compiler runtime DLL (libstdc++-6, libgcc_s, libwinpthread-1) means a build
# that no longer links its runtime in; any other name, a new dependency.
set -euo pipefail
exe="$1"
expected="comctl32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll"
actual="$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' |
    tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')"
actual="${actual% }"
if [ "$actual" != "$expected" ]; then
    echo "FAILED: $exe imports from"
    echo "  actual:   $actual"
    echo "  expected: $expected"
    exit 1
fi
echo "pass: $exe imports from $actual"
