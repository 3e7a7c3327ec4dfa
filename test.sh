#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the native (sanitizer) and
# the Windows builds, checks that the release is reproducible, starts the Wine
# bench (private prefix, virtual display, virtual desktop) and runs both ctest
# suites. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages

# The sources follow .clang-format, the shell scripts pass shellcheck, and both
# builds treat warnings as errors.
scripts/check-format.sh
scripts/check-scripts.sh

cmake --preset host >/dev/null
cmake --build --preset host -j "$(nproc)"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)"
# The Debug build compiles every failure trace, which the Release builds leave
# out. Built only: it behaves as the Release build the tests run, and running
# the Wine suite twice would double the longest step.
cmake --preset windows-debug >/dev/null
cmake --build --preset windows-debug -j "$(nproc)"

# Portable modules under AddressSanitizer and UndefinedBehaviorSanitizer.
ctest --preset host

# The committed tree, built twice as a release, gives the same bytes.
scripts/check-reproducible.sh

source scripts/bench-env.sh
trap bench_down EXIT
bench_up

# Win32 behaviour: the real Windows programs under Wine.
ctest --preset windows
