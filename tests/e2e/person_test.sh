#!/usr/bin/env bash
# A person at the X display: types a number into the prompt with the keyboard
# and closes the prompt with the mouse on its close box. The prompt is no
# cancel, so the editor's caret lands on the typed line.
#   person_test.sh <windows build folder>
# Needs the bench (DISPLAY, WINEPREFIX) that test.sh starts.
set -euo pipefail
build="$1"
probe() { wine "$build/editor_probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
fail() { echo "FAILED: $*"; exit 1; }

wine "$build/fixture_editor.exe" --title "Quillo V5. person" --lines 120 --caret 60 --x 60 --y 50 >/dev/null 2>&1 &
editor=$!
trap 'kill $editor 2>/dev/null || true' EXIT
probe wait 'Quillo V5. person' >/dev/null || fail "the fixture editor did not come up"

linenav="$(winepath -w "$build/linenav.exe" 2>/dev/null)"
PROBE_COMMAND_LINE="\"$linenav\" \"C:\\Program Files\\Quillo\\\"" probe run >"$build/person-run.txt" &
run=$!

read -r left top right bottom closeX closeY < <(probe prompt) || fail "no prompt"
[ "$left" = $((60 + 280)) ] && [ "$top" = $((50 + 80)) ] || fail "prompt at $left,$top"

# X gives the keyboard to the desktop window once it is clicked; Wine then
# hands the keys to its focused window, the prompt's field.
fieldX=$(((left + right) / 2)); fieldY=$((bottom - 20))
xdotool mousemove "$fieldX" "$fieldY"
probe pointer "$fieldX" "$fieldY" || fail "pointer never reached the field"
xdotool click 1
xdotool type --delay 20 42

# Onto the close box in two steps, then press.
xdotool mousemove $((closeX - 6)) $((closeY + 3))
probe pointer $((closeX - 6)) $((closeY + 3)) || fail "pointer never neared the close box"
xdotool mousemove "$closeX" "$closeY"
probe pointer "$closeX" "$closeY" || fail "pointer never reached the close box"
xdotool click 1

wait "$run" || fail "linenav exited with $(cat "$build/person-run.txt")"
grep -q 'exit code 0' "$build/person-run.txt" || fail "$(cat "$build/person-run.txt")"
line="$(probe caret 'Quillo V5. person')"
[ "$line" = 42 ] || fail "caret on line $line, expected 42"
echo "1 passed, 0 failed"
