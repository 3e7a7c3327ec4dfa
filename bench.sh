#!/usr/bin/env bash
# Measures linenav against its floors under Wine, side by side in one run:
# launch to ready prompt, Return to exit per key event, a long jump into Wine's
# notepad, the line map, and the footprint. Installs what is missing, builds,
# starts the Wine bench (private prefix, virtual display, virtual desktop),
# prints one table and writes it to build/bench/results.json. Not part of
# test.sh: figures, not pass/fail.
#
#   ./bench.sh                    linenav against its floors
#   ./bench.sh --against COMMIT   this tree's linenav against the one built from
#                                 COMMIT, interleaved in one run; each row reads
#                                 "regression" only when its 95 % interval lies
#                                 wholly above 1. COMMIT's sources are unpacked
#                                 and built once under build/bench-old/.
#
# Settings (environment):
#   BUILD_DIR       Windows build folder (default build/windows)
#   LINENAV_WINEPREFIX  Wine prefix (default build/wineprefix; give another
#                   one to run beside test.sh, which uses and stops the default
#                   one). WINEPREFIX is not read: it names the person's own.
#   BENCH_RUNS      pairs per line up to the Down-press cap (default 20)
#   BENCH_CAP_RUNS  pairs for the line above the cap (default 5; ~40 s per run)
#   BENCH_MAP_RUNS  pairs for the line map (default 51)
#   BENCH_JUMP_RUNS pairs for the long jump into notepad (default 15; ~25 s
#                   per run, so about 13 minutes on a quiet machine)
#   BENCH_ONLY_LAUNCH  if set to N > 0: only the launch against the floor with
#                   linenav's DLLs, N pairs, one figure (for quick
#                   iteration; writes no results.json)
#   BENCH_ONLY_JUMP if set to N > 0: only the long jump, N pairs (about a
#                   minute per pair; writes no results.json)
set -euo pipefail
cd "$(dirname "$0")"

against=""
case "${1:-}" in
"") ;;
--against)
    against="${2:?--against needs a commit}"
    [ $# -eq 2 ] || { echo "usage: $0 [--against COMMIT]" >&2; exit 2; }
    ;;
*) echo "usage: $0 [--against COMMIT]" >&2; exit 2 ;;
esac

source scripts/packages.sh
ensure_packages

BUILD_DIR="${BUILD_DIR:-build/windows}"
BENCH_RUNS="${BENCH_RUNS:-20}"
BENCH_CAP_RUNS="${BENCH_CAP_RUNS:-5}"
BENCH_MAP_RUNS="${BENCH_MAP_RUNS:-51}"
BENCH_JUMP_RUNS="${BENCH_JUMP_RUNS:-15}"
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

# --against: the commit's linenav.exe, from its own sources (git archive: no
# worktree to register or remove), built once with its own presets; a later
# run against the same commit reuses it.
if [ -n "$against" ]; then
    old_commit="$(git rev-parse --verify --quiet "${against}^{commit}")" || {
        echo "not a commit: $against" >&2
        exit 2
    }
    old_name="$(git rev-parse --short "$old_commit")"
    old_tree="build/bench-old/$old_commit"
    if [ ! -f "$old_tree/build/windows/linenav.exe" ]; then
        echo "building linenav from $old_name in $old_tree"
        rm -rf "$old_tree"
        mkdir -p "$old_tree"
        git archive "$old_commit" | tar -x -C "$old_tree"
        (cd "$old_tree" && cmake --preset windows -DLINENAV_TESTS=OFF >/dev/null &&
            cmake --build build/windows -j "$(nproc)" --target linenav >/dev/null)
    fi
    old_exe="$old_tree/build/windows/linenav.exe"
fi

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
# Against an older linenav that one is the floor; the floor with linenav's DLLs
# would be it again (a third of the runs for the same launch), so it runs only
# for BENCH_ONLY_LAUNCH, which compares with nothing else.
run_driver() {
    local programs
    if [ -n "$against" ]; then
        programs=(--floor "$(windows_path "$old_exe")" --floor-class WindowClass_0 --old "$old_name")
        [ "$BENCH_ONLY_LAUNCH" -gt 0 ] && programs+=(--floor-dlls "$(windows_path "$old_exe")")
    else
        programs=(--floor "$(windows_path "$BUILD_DIR/floor_prompt.exe")"
            --floor-dlls "$(windows_path "$BUILD_DIR/floor_prompt_dlls.exe")")
    fi
    wine "$BUILD_DIR/linenav_bench.exe" --linenav "$(windows_path "$BUILD_DIR/linenav.exe")" "${programs[@]}" \
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
[ -z "$against" ] || echo "against: linenav built from ${old_name}, interleaved with this tree's"
map_pairs="${BENCH_MAP_RUNS} for the line map"
[ -z "$against" ] || map_pairs="the line map left out (the driver's own code only)"
echo "pairs: ${BENCH_RUNS} per line, ${BENCH_CAP_RUNS} above the Down-press cap, ${map_pairs}, ${BENCH_JUMP_RUNS} for the long jump"
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
