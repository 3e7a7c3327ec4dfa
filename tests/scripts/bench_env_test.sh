#!/usr/bin/env bash
# The bench's Wine prefix: the project's own whatever WINEPREFIX says, and
# marked ready only when every step of making it succeeded. Wine itself is
# stood in for by scripts that fail on request: what is tested here is the
# bench script's own logic, not Wine.
set -u
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/bench-env.sh"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
# One line per check, "pass" or "fail": the checks below run in subshells.
results="$root/results"
expect() { # expect <what> <command...>
    local what="$1"
    shift
    if "$@"; then echo pass >>"$results"; else echo fail >>"$results"; echo "FAILED: $what"; fi
}

mkdir "$root/bin"
cat >"$root/bin/wine" <<'SH'
#!/bin/sh
echo "$WINEPREFIX" >>"$CALLS"
case "$1" in
wineboot) [ "$FAIL_STEP" = wineboot ] && exit 1; touch "$WINEPREFIX/system.reg" ;;
regedit) [ "$FAIL_STEP" = regedit ] && exit 1 ;;
esac
exit 0
SH
cat >"$root/bin/wineserver" <<'SH'
#!/bin/sh
echo "$WINEPREFIX" >>"$CALLS"
SH
chmod +x "$root/bin/wine" "$root/bin/wineserver"

theirs="$root/their prefix"
for fail in none wineboot regedit; do
    project="$root/project-$fail"
    (
        export WINEPREFIX="$theirs" PATH="$root/bin:$PATH" FAIL_STEP="$fail" CALLS="$root/calls-$fail"
        unset LINENAV_WINEPREFIX
        BENCH_ROOT="$project"
        # shellcheck source=../../scripts/bench-env.sh
        source "$script"
        expect "$fail: the prefix is the project's, not the one WINEPREFIX named" \
            [ "$WINEPREFIX" = "$project/build/wineprefix" ]
        # As bench_up calls it: after ||, where set -e does not reach.
        set -e
        status=0
        bench_prefix 2>/dev/null || status=$?
        if [ "$fail" = none ]; then
            expect "$fail: succeeds" [ "$status" = 0 ]
            expect "$fail: the ready marker is written" [ -f "$WINEPREFIX/.linenav-ready" ]
        else
            expect "$fail: fails" [ "$status" != 0 ]
            expect "$fail: no ready marker after a failed step" [ ! -e "$WINEPREFIX/.linenav-ready" ]
        fi
        expect "$fail: Wine ran only in the project's prefix" \
            [ "$(sort -u "$CALLS")" = "$project/build/wineprefix" ]
    )
    expect "$fail: every check ran (status $?)" [ $? = 0 ]
done
expect "the folder WINEPREFIX named is untouched" [ ! -e "$theirs" ]
passed="$(grep -c '^pass$' "$results")"
failed="$(grep -c '^fail$' "$results")"
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
