#!/usr/bin/env bash
# Measures linenav against its floors under Wine, side by side in one run:
# launch to ready prompt, Return to exit per key event, a long jump into Wine's
# notepad, the line map, and the footprint. Installs what is missing, builds,
# starts the Wine bench (private prefix, virtual display, virtual desktop),
# prints one table and writes it to build/bench/results.json. Not part of
# test.sh: figures, not pass/fail.
#
# Settings (environment):
#   BUILD_DIR       Windows build folder (default build/windows)
#   LINENAV_WINEPREFIX  Wine prefix (default build/wineprefix; give another
#                   one to run beside test.sh, which uses and stops the default
#                   one). WINEPREFIX is not read: it names the person's own.
#   BENCH_RUNS      pairs per line up to the Down-press cap (default 20)
#   BENCH_CAP_RUNS  pairs for the line above the cap (default 5; ~40 s per run)
#   BENCH_MAP_RUNS  pairs for the line map (default 51)
#   BENCH_JUMP_RUNS pairs for the long jump into notepad (default 3; ~25 s
#                   per run)
#   BENCH_ONLY_LAUNCH  if set to N > 0: only the launch against the floor with
#                   linenav's DLLs, N pairs, one figure (for quick
#                   iteration; writes no results.json)
#   BENCH_ONLY_JUMP if set to N > 0: only the long jump, N pairs (about a
#                   minute per pair; writes no results.json)
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages

BUILD_DIR="${BUILD_DIR:-build/windows}"
BENCH_RUNS="${BENCH_RUNS:-20}"
BENCH_CAP_RUNS="${BENCH_CAP_RUNS:-5}"
BENCH_MAP_RUNS="${BENCH_MAP_RUNS:-51}"
BENCH_JUMP_RUNS="${BENCH_JUMP_RUNS:-3}"
BENCH_ONLY_LAUNCH="${BENCH_ONLY_LAUNCH:-0}"
BENCH_ONLY_JUMP="${BENCH_ONLY_JUMP:-0}"
OUT=build/bench
mkdir -p "$OUT"

if [ "$BUILD_DIR" = build/windows ]; then
    cmake --preset windows >/dev/null
else
    cmake --preset windows -B "$BUILD_DIR" >/dev/null
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target linenav floor_prompt floor_prompt_dlls linenav_bench >/dev/null

source scripts/bench-env.sh
trap bench_down EXIT
bench_up

load_now() { cut -d' ' -f1-3 /proc/loadavg; }
windows_path() { winepath -w "$1" 2>/dev/null; }

cpu="$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//' || true)"
memory_mib=$(($(awk '/MemTotal/ {print $2}' /proc/meminfo) / 1024))
# shellcheck source=/dev/null # the system's own file, not one of the project's
system="$(. /etc/os-release 2>/dev/null && echo "$PRETTY_NAME") / Linux $(uname -r)"
wine_version="$(wine --version 2>/dev/null | head -1)"
compiler="$(x86_64-w64-mingw32-g++-posix --version 2>/dev/null | head -1)"
load_start="$(load_now)"

# run_driver ARG...: the driver on the three programs, with ARG... after them.
run_driver() {
    wine "$BUILD_DIR/linenav_bench.exe" \
        --linenav "$(windows_path "$BUILD_DIR/linenav.exe")" \
        --floor "$(windows_path "$BUILD_DIR/floor_prompt.exe")" \
        --floor-dlls "$(windows_path "$BUILD_DIR/floor_prompt_dlls.exe")" \
        --scratch 'C:\linenav-bench' "$@" | tr -d '\r'
}

if [ "$BENCH_ONLY_LAUNCH" -gt 0 ] || [ "$BENCH_ONLY_JUMP" -gt 0 ]; then
    if [ "$BENCH_ONLY_LAUNCH" -gt 0 ]; then only=(--only-launch "$BENCH_ONLY_LAUNCH"); else only=(--only-jump "$BENCH_ONLY_JUMP"); fi
    echo "load average at start (1, 5, 15 min): ${load_start}"
    started=$(date +%s)
    run_driver "${only[@]}"
    echo "load average at end (1, 5, 15 min): $(load_now); measured for $(($(date +%s) - started)) s"
    exit 0
fi

echo "machine: ${cpu:-unknown CPU}, $(nproc) cores, ${memory_mib} MiB; ${system}"
echo "wine: ${wine_version}; compiler: ${compiler}"
echo "load average at start (1, 5, 15 min): ${load_start}"
echo "pairs: ${BENCH_RUNS} per line, ${BENCH_CAP_RUNS} above the Down-press cap, ${BENCH_MAP_RUNS} for the line map, ${BENCH_JUMP_RUNS} for the long jump"
echo "(the capped case sends 2,000,006 key events per run, about 40 s each under Wine; a long jump takes about 25 s)"

started=$(date +%s)
run_driver --json "$(windows_path "$OUT/figures.json")" \
    --runs "$BENCH_RUNS" --cap-runs "$BENCH_CAP_RUNS" --map-runs "$BENCH_MAP_RUNS" --jump-runs "$BENCH_JUMP_RUNS" \
    | tee "$OUT/table.txt"
seconds=$(($(date +%s) - started))
load_end="$(load_now)"
echo "load average at end (1, 5, 15 min): ${load_end}; measured for ${seconds} s"

# The driver writes the results file: the run's figures and what only this
# script knows, some of it only now.
wine "$BUILD_DIR/linenav_bench.exe" --results "$(windows_path "$OUT/results.json")" \
    --figures "$(windows_path "$OUT/figures.json")" --cpu "$cpu" --cores "$(nproc)" --memory-mib "$memory_mib" \
    --system "$system" --wine "$wine_version" --compiler "$compiler" --load-start "$load_start" \
    --load-end "$load_end" --seconds "$seconds" --date "$(date -u +%Y-%m-%dT%H:%M:%SZ)"
rm -f "$OUT/figures.json"
echo "results: $OUT/results.json"
