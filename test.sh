#!/usr/bin/env bash
# Runs every test: installs what is missing; checks the format, the layers of
# src/, the shell scripts and clang-tidy; builds the native (sanitizer) build
# and the Windows builds (GCC Release and Debug, clang); checks that the
# release is reproducible; starts the Wine bench (private prefix, virtual
# display, virtual desktop) and runs the native suite, the Windows suite, and
# the end-to-end tests against clang's linenav.exe. Safe to run again.
#
# Steps run beside each other (scripts/steps.sh), in two phases. First, at
# full speed, the builds the suites need and the reproducibility pair. Then
# the Wine suites, which wait on the platform more than on the processor and
# leave about one core unused: beside them, one process at a time, run the
# native suite, the Debug build and clang-tidy. Each step's output is printed
# when it is waited for, and the table at the end gives each step's start and
# length.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages
source scripts/steps.sh
source scripts/bench-env.sh
trap 'step_stop_all; bench_down' EXIT

# The sources follow .clang-format, src/ uses itself in no circle (each folder
# only the folders below it), and the shell scripts pass shellcheck.
step_run format scripts/check-format.sh
step_run layers scripts/check-layers.sh
step_run shell-scripts scripts/check-scripts.sh

presets=(windows host windows-clang windows-debug)
for preset in "${presets[@]}"; do
    step_start "configure-$preset" cmake --preset "$preset"
done
# The Wine prefix needs no display: it is made while the code builds.
step_start wine-prefix bench_prefix
step_wait "${presets[@]/#/configure-}"

# Every build treats warnings as errors.
jobs="$(nproc)"
step_start build-windows cmake --build --preset windows -j "$jobs"
step_start build-windows-clang cmake --build --preset windows-clang -j "$jobs"
step_start build-native cmake --build --preset host -j "$jobs"
# The committed tree, built as a release in two folders, gives the same bytes.
step_start reproducible scripts/check-reproducible.sh
step_wait wine-prefix build-windows build-windows-clang build-native reproducible

# One process at a time beside the Wine suites: the portable modules under
# AddressSanitizer and UndefinedBehaviorSanitizer; the Debug build, which
# compiles every failure trace the Release builds leave out (built only: it
# behaves as the Release build the suites run); clang-tidy on the compile
# databases of the clang and the native builds.
beside_wine() {
    step_part native-suite ctest --preset host &&
        step_part build-windows-debug cmake --build --preset windows-debug -j 1 &&
        step_part tidy scripts/check-tidy.sh -j 1
}
step_start beside-wine beside_wine

# Win32 behaviour: the real Windows programs under Wine, built by GCC, then
# the end-to-end subset against clang's linenav.exe.
bench_up
step_run suite-windows ctest --preset windows
step_run suite-windows-clang ctest --preset windows-clang
step_wait beside-wine
step_times
