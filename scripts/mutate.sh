#!/usr/bin/env bash
# Mutation run: puts each mutant of tests/mutants.txt (a guard deleted or
# weakened) into a scratch copy of the committed tree, one at a time, and
# runs the tests; a guard whose mutant no test kills is a guard nobody tests.
# Not part of test.sh: it rebuilds and retests once a mutant.
#   scripts/mutate.sh [ID...]   the mutants named (default: all of them)
#   scripts/mutate.sh --remove  removes the scratch tree and its builds
# The sources are HEAD's (commit first); the list is the working copy's.
#
# The scratch tree is a detached git worktree, build/mutate/tree, made once
# and brought back to HEAD on every run; its own builds (presets windows and
# host) and its own Wine prefix are built there once and then only rebuilt.
# Before building anything, every mutant's text must occur exactly once in
# its file, and, once built, every test filter must select a test, and the
# named tests must pass without any mutant: otherwise the run is refused.
#
# Each mutant: applied, then only the programs its tests need are rebuilt (a
# mutant that does not build is "build-fail", not killed); its tests run in
# order, and the first that fails kills it. When all pass, the whole suites
# of the presets that compile its file run (host first, then windows under
# Wine); any failure kills it, else it "survived". The file is then put back
# byte for byte. One line a mutant: id, result, seconds, the test that killed
# it; then the score and the total time. Logs: build/mutate/logs/ID.log.
# Exit status: 0 when every mutant was killed, 1 when one survived or did not
# build, 2 when the run was refused.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
list="$root/tests/mutants.txt"
work="$root/build/mutate"
tree="$work/tree"
logs="$work/logs"
jobs="$(nproc)"
# A named test that hangs is stopped after this long, and counts as failed
# (ctest gives a whole program 300 s).
TEST_LIMIT_S=150

say() { echo "mutate: $*" >&2; }
refuse() {
    say "$@"
    say "run refused"
    exit 2
}

if [ "${1:-}" = "--remove" ]; then
    if [ -e "$tree" ]; then git worktree remove --force "$tree"; fi
    git worktree prune
    rm -rf "$work"
    exit 0
fi

# --- The list ------------------------------------------------------------------------------

ids=()
declare -A m_file=() m_text=() m_with=() m_tests=() m_line=()
problems=()

# _end_record LINE: checks the record that ended before LINE of the list.
record=()
_end_record() {
    [ ${#record[@]} -eq 0 ] && return 0
    local -A fields=()
    local entry key id
    for entry in "${record[@]}"; do
        key="${entry%%=*}"
        if [ -n "${fields[$key]+set}" ]; then problems+=("list line $1: record has $key twice"); fi
        fields[$key]="${entry#*=}"
    done
    record=()
    for key in id file text with tests; do
        if [ -z "${fields[$key]+set}" ]; then
            problems+=("list, record ending at line $1: no $key")
            return 0
        fi
    done
    id="${fields[id]}"
    if [ -n "${m_file[$id]+set}" ]; then
        problems+=("list line $1: id $id used twice")
        return 0
    fi
    if [ -z "${fields[text]}" ] || [ -z "${fields[tests]}" ]; then
        problems+=("mutant $id: empty text or tests")
    fi
    ids+=("$id")
    m_file[$id]="${fields[file]}"
    m_text[$id]="${fields[text]}"
    m_with[$id]="${fields[with]}"
    m_tests[$id]="${fields[tests]}"
    m_line[$id]="$1"
}

number=0
while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    case "$line" in
    '#'*) continue ;;
    '') _end_record "$number" ;;
    id:* | file:* | text:* | with:* | tests:*)
        value="${line#*:}"
        record+=("${line%%:*}=${value# }")
        ;;
    *) problems+=("list line $number: not a \"key: value\" line: $line") ;;
    esac
done <"$list"
_end_record "$((number + 1))"

chosen=("$@")
if [ ${#chosen[@]} -eq 0 ]; then chosen=("${ids[@]}"); fi
for id in "${chosen[@]}"; do
    if [ -z "${m_file[$id]+set}" ]; then problems+=("no mutant named $id in ${list#"$root"/}"); fi
done
if [ ${#problems[@]} -gt 0 ]; then
    printf '  %s\n' "${problems[@]}" >&2
    refuse "the list ${list#"$root"/} has the faults above"
fi

# --- The scratch tree ------------------------------------------------------------------------

head="$(git rev-parse HEAD)"
git worktree prune
if [ -e "$tree/.git" ] && git -C "$tree" rev-parse --git-dir >/dev/null 2>&1; then
    # A run that was interrupted may have left a mutant in.
    git -C "$tree" reset -q --hard
    git -C "$tree" checkout -q --detach "$head"
else
    rm -rf "$tree"
    mkdir -p "$work"
    git worktree add -q --detach "$tree" "$head"
fi
rm -rf "$logs"
mkdir -p "$logs"

# occurrences FILE TEXT: how many times TEXT occurs in FILE.
occurrences() {
    local content rest
    content="$(cat "$1"; echo x)"
    rest="${content//"$2"/}"
    echo $(((${#content} - ${#rest}) / ${#2}))
}

for id in "${chosen[@]}"; do
    file="$tree/${m_file[$id]}"
    if [ ! -f "$file" ]; then
        problems+=("mutant $id (line ${m_line[$id]}): no file ${m_file[$id]}")
        continue
    fi
    count="$(occurrences "$file" "${m_text[$id]}")"
    if [ "$count" -ne 1 ]; then
        problems+=("mutant $id (line ${m_line[$id]}): its text occurs $count times in ${m_file[$id]}, not once")
    fi
done
if [ ${#problems[@]} -gt 0 ]; then
    printf '  %s\n' "${problems[@]}" >&2
    refuse "the mutants above do not name one place of HEAD ($head)"
fi

# --- Builds and the bench ------------------------------------------------------------------------

source scripts/packages.sh
ensure_packages
BENCH_ROOT="$tree"
# shellcheck source=bench-env.sh
source scripts/bench-env.sh
started="$SECONDS"
trap 'restore_current; bench_down' EXIT
current=""
restore_current() {
    if [ -n "$current" ]; then
        cp "$work/original" "$tree/${m_file[$current]}"
        current=""
    fi
}

cd "$tree"
say "building presets windows and host in ${tree#"$root"/} (logs in ${logs#"$root"/})"
bench_prefix >"$logs/wine-prefix.log" 2>&1 &
prefix_job=$!
for preset in windows host; do
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j "$jobs"; } >"$logs/build-$preset.log" 2>&1; then
        refuse "HEAD does not build with preset $preset: see ${logs#"$root"/}/build-$preset.log"
    fi
done
wait "$prefix_job" || refuse "the Wine prefix could not be made: see ${logs#"$root"/}/wine-prefix.log"
bench_up

# A test of the list: PRESET/PROGRAM:FILTER or PRESET/NAME.
t_preset() { echo "${1%%/*}"; }
t_name() {
    local rest="${1#*/}"
    echo "${rest%%:*}"
}
t_filter() {
    local rest="${1#*/}"
    case "$rest" in *:*) echo "${rest#*:}" ;; esac
}

# program PRESET NAME ARGUMENT...: runs a test program of the preset's build
# where ctest runs it, with a time limit.
program() {
    local preset="$1" build="$tree/build/$1" name="$2"
    shift 2
    if [ "$preset" = windows ]; then
        (cd "$build/tests" && timeout -k 10 "$TEST_LIMIT_S" wine "$build/$name.exe" "$@")
    else
        (cd "$build/tests" && timeout -k 10 "$TEST_LIMIT_S" "$build/tests/$name" "$@")
    fi
}

# run_test TEST LOG: runs one test of the list; fails when it fails.
run_test() {
    local preset name filter
    preset="$(t_preset "$1")"
    name="$(t_name "$1")"
    filter="$(t_filter "$1")"
    if [ -n "$filter" ]; then
        local status=0
        program "$preset" "$name" --gtest_color=no "--gtest_filter=$filter" >>"$2" 2>&1 || status=$?
        if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then echo "mutate: timed out after $TEST_LIMIT_S s" >>"$2"; fi
        return "$status"
    else
        ctest --preset "$preset" --output-on-failure -R "^$name\$" >>"$2" 2>&1
    fi
}

# build_for TEST LOG: rebuilds what TEST needs (its program, or the whole
# preset for a ctest test).
build_for() {
    local preset name
    preset="$(t_preset "$1")"
    name="$(t_name "$1")"
    if [ -n "$(t_filter "$1")" ]; then
        cmake --build --preset "$preset" -j "$jobs" --target "$name" >>"$2" 2>&1
    else
        cmake --build --preset "$preset" -j "$jobs" >>"$2" 2>&1
    fi
}

# Every test of the list is known and selects something, and passes as HEAD is.
declare -A checked=()
for id in "${chosen[@]}"; do
    for test in ${m_tests[$id]}; do
        [ -n "${checked[$test]+set}" ] && continue
        checked[$test]=1
        preset="$(t_preset "$test")"
        name="$(t_name "$test")"
        filter="$(t_filter "$test")"
        case "$preset" in windows | host) ;; *)
            problems+=("mutant $id: $test names no preset windows or host")
            continue
            ;;
        esac
        # Whole outputs, not a pipe into grep -q, which would end the writer
        # early and fail the pipe.
        if [ -n "$filter" ]; then
            listed="$(program "$preset" "$name" "--gtest_filter=$filter" --gtest_list_tests 2>/dev/null || true)"
            if ! grep -q '^  ' <<<"$listed"; then
                problems+=("mutant $id: $test selects no test")
                continue
            fi
        elif ! grep -q 'Total Tests: 1' <<<"$(cd "build/$preset" && ctest -N -R "^$name\$")"; then
            problems+=("mutant $id: $test is no ctest test of preset $preset")
            continue
        fi
        if ! run_test "$test" "$logs/baseline.log"; then
            problems+=("mutant $id: $test fails without any mutant (see ${logs#"$root"/}/baseline.log)")
        fi
    done
done
if [ ${#problems[@]} -gt 0 ]; then
    printf '  %s\n' "${problems[@]}" >&2
    refuse "the tests above cannot tell a mutant"
fi
say "HEAD ($head) builds and its named tests pass: $((SECONDS - started)) s"

# compiles PRESET FILE: whether the preset's build compiles FILE (its
# compilers' dependency files name it).
compiles() {
    grep -rqsF --include='*.d' "$tree/$2" "build/$1"
}

# first_failure LOG: the first failed GoogleTest test, or the failed ctest
# test, named in the log.
first_failure() {
    local failed
    failed="$(tr -d '\r' <"$1" | sed -n 's/^\[  FAILED  \] \([^ ,]*\).*/\1/p' | head -n 1)"
    if [ -z "$failed" ] && grep -q '^mutate: timed out' "$1"; then failed="timed out"; fi
    if [ -z "$failed" ]; then
        failed="$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$1" | head -n 1)"
    fi
    echo "${failed:-?}"
}

# --- The run ------------------------------------------------------------------------------------

killed=0
survivors=()
unbuilt=()
printf '%-32s %-10s %6s  %s\n' mutant result seconds "killed by" >&2
for id in "${chosen[@]}"; do
    began="$SECONDS"
    log="$logs/$id.log"
    file="$tree/${m_file[$id]}"
    cp "$file" "$work/original"
    current="$id"
    content="$(cat "$file"; echo x)"
    content="${content/"${m_text[$id]}"/"${m_with[$id]}"}"
    printf '%s' "${content%x}" >"$file"
    git -C "$tree" diff --no-color >"$log"

    result=survived
    by=""
    for test in ${m_tests[$id]}; do
        echo "=== $test" >>"$log"
        if ! build_for "$test" "$log"; then
            result="build-fail"
            break
        fi
        if ! run_test "$test" "$log"; then
            result=killed
            by="$(t_preset "$test")/$(t_name "$test"):$(first_failure "$log")"
            [ "$(t_preset "$test")" = windows ] && { bench_down && bench_up; } >>"$log" 2>&1
            break
        fi
    done
    if [ "$result" = survived ]; then
        for preset in host windows; do
            if ! compiles "$preset" "${m_file[$id]}"; then continue; fi
            echo "=== ctest --preset $preset" >>"$log"
            if ! cmake --build --preset "$preset" -j "$jobs" >>"$log" 2>&1; then
                result="build-fail"
                break
            fi
            if ! ctest --preset "$preset" --output-on-failure --stop-on-failure >"$logs/suite.log" 2>&1; then
                cat "$logs/suite.log" >>"$log"
                result=killed
                by="$preset/$(first_failure "$logs/suite.log")"
                [ "$preset" = windows ] && { bench_down && bench_up; } >>"$log" 2>&1
                break
            fi
            cat "$logs/suite.log" >>"$log"
        done
    fi

    restore_current
    cmp -s "$work/original" "$file" || refuse "$id: ${m_file[$id]} was not put back"
    case "$result" in
    killed) killed=$((killed + 1)) ;;
    survived) survivors+=("$id") ;;
    build-fail) unbuilt+=("$id") ;;
    esac
    printf '%-32s %-10s %6d  %s\n' "$id" "$result" "$((SECONDS - began))" "$by" >&2
done

echo "mutate: score $killed killed of ${#chosen[@]}" \
    "(survived: ${survivors[*]:-none}; build-fail: ${unbuilt[*]:-none})" \
    "in $((SECONDS - started)) s" >&2
[ ${#survivors[@]} -eq 0 ] && [ ${#unbuilt[@]} -eq 0 ]
