#!/usr/bin/env bash
# A person at the X display types a number into the prompt with the keyboard
# and closes the prompt: once with the mouse on its close box, once with
# Alt+F4, letting go of Alt only after the editor is back in front. The prompt
# is no cancel, so the editor's caret lands on the typed line, and no key
# reaches the editor with the person's Alt.
#   person_test.sh <windows build folder>
# Needs the bench (DISPLAY, WINEPREFIX) that test.sh starts. The last line is
# the count, "N passed, N failed".
set -euo pipefail
build="$1"
title='Quillo V5. person'
cases=(close_box alt_f4)
probe() { wine "$build/editor_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
# Ends the case that runs (each runs in a subshell of its own).
fail() { echo "FAILED: $name: $*"; exit 1; }

wine "$build/fixture_editor.exe" --title "$title" --lines 120 --caret 60 --x 60 --y 50 >/dev/null 2>&1 &
editor=$!
trap 'xdotool keyup alt 2>/dev/null || true; kill "$editor" 2>/dev/null || true' EXIT
if ! probe wait "$title" >/dev/null; then
    echo "FAILED: the fixture editor did not come up"
    echo "0 passed, ${#cases[@]} failed"
    exit 1
fi

linenav="$(winepath -w "$build/linenav.exe" 2>/dev/null)"
start_linenav() {
    PROBE_COMMAND_LINE="\"$linenav\" \"C:\\Program Files\\Quillo\\\"" probe run >"$build/person-run.txt" &
    run=$!
    read -r left top right bottom closeX closeY < <(probe prompt) || fail "no prompt"
    if [ "$left" != $((60 + 280)) ] || [ "$top" != $((50 + 80)) ]; then fail "prompt at $left,$top"; fi
}
# X gives the keyboard to the desktop window once it is clicked; Wine then
# hands the keys to its focused window, the prompt's field.
type_into_field() {
    local fieldX=$(((left + right) / 2)) fieldY=$((bottom - 20))
    xdotool mousemove "$fieldX" "$fieldY"
    probe pointer "$fieldX" "$fieldY" || fail "pointer never reached the field"
    xdotool click 1
    xdotool type --delay 20 "$1"
    probe field "$1" || fail "the field never held $1"
}
expect_line() {
    wait "$run" || fail "linenav exited with $(cat "$build/person-run.txt")"
    grep -q 'exit code 0' "$build/person-run.txt" || fail "$(cat "$build/person-run.txt")"
    local line
    line="$(probe caret "$title")"
    [ "$line" = "$1" ] || fail "caret on line $line, expected $1"
}

# 1. Typed, then closed with the mouse on the close box, in two steps.
close_box() {
    start_linenav
    type_into_field 42
    xdotool mousemove $((closeX - 6)) $((closeY + 3))
    probe pointer $((closeX - 6)) $((closeY + 3)) || fail "pointer never neared the close box"
    xdotool mousemove "$closeX" "$closeY"
    probe pointer "$closeX" "$closeY" || fail "pointer never reached the close box"
    xdotool click 1
    expect_line 42
}

# 2. Typed, then Alt+F4, Alt held on until the editor is back in front. Keys
# typed meanwhile would arrive as Alt+Down: no key press may come while Alt is
# down (F4 comes up in the editor: the person's own release). linenav looks at
# the keyboard right after the editor, in front, has answered its question:
# only from then on does a quiet spell show that it waits for Alt, rather than
# that it has not got that far.
alt_f4() {
    probe clearkeys "$title"
    start_linenav
    type_into_field 37
    xdotool keydown alt
    xdotool key F4
    probe gone || fail "Alt+F4 did not close the prompt"
    probe wait "$title" >/dev/null || fail "the editor never came back to the front"
    probe answered "$title" || fail "linenav never asked the editor in front before its keys"
    probe nopress "$title" 1500 || fail "keys reached the editor while Alt was held: $(probe keys "$title" | head -8 | tr '\n' ',')"
    xdotool keyup alt
    expect_line 37
    # Not grep -q: under pipefail, a grep that quits at the first match can
    # cut off the writer and turn a found key into a failed pipeline.
    if probe keys "$title" | grep WM_SYSKEYDOWN >/dev/null; then fail "keys with Alt: $(probe keys "$title" | tr '\n' ',')"; fi
}

# Each case in a subshell with set -e of its own (set -e does not reach into
# a subshell that is the condition of an if or ||); a command that fails
# unchecked is named. A case that fails may leave its prompt open and Alt
# down: the cases after it are not run, and count as failed.
passed=0 failed=0
for name in "${cases[@]}"; do
    if [ "$failed" -gt 0 ]; then
        echo "FAILED: $name: not run after a failed case"
        failed=$((failed + 1))
        continue
    fi
    set +e
    (
        set -eE
        trap 'echo "FAILED: $name: \"$BASH_COMMAND\" returned $?"' ERR
        "$name"
    )
    status=$?
    set -e
    if [ "$status" -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
