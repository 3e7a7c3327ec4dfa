#!/usr/bin/env bash
# Shows the tool's whole job on a real editor: Wine's notepad opened on a
# sample file (its title "Quillo V5. demo.txt - Notepad" carries the editor's
# prefix), a sample line map in portable mode, linenav.exe started as the
# editor starts it, a number typed into the prompt, and the caret on the
# translated line. Installs what is missing, builds, starts the Wine bench,
# and saves screenshots under build/demo/.
set -euo pipefail
[ -n "${DEMO_TRACE:-}" ] && set -x
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages

cmake --preset windows >/dev/null
cmake --build --preset windows --target linenav editor_probe >/dev/null

source scripts/bench-env.sh
trap bench_down EXIT
bench_up

out=build/demo
mkdir -p "$out"
probe() { wine build/windows/editor_probe.exe "$@" 2>/dev/null | tr -d '\r'; }

# The sample document: 200 numbered lines.
demo="$WINEPREFIX/drive_c/linenav-demo"
mkdir -p "$demo"
for i in $(seq 1 200); do printf 'demo line %d\r\n' "$i"; done >"$demo/Quillo V5. demo.txt"

# The editor's program folder in portable mode: "portable.inf" beside it, the
# line map in its DATA folder. Record 42 says line 120; every other record is 0
# (no mapping).
typed=42
mapped=120
mkdir -p "$demo/Quillo/DATA"
: >"$demo/Quillo/portable.inf"
{ head -c $((4 * (typed - 1))) /dev/zero; printf '\x78\x00\x00\x00'; } >"$demo/Quillo/DATA/lineno.txt"

wine notepad 'C:\linenav-demo\Quillo V5. demo.txt' >/dev/null 2>&1 &
probe wait 'Quillo V5. demo.txt' >/dev/null
echo "notepad is up, caret on line $(probe caret 'Quillo V5. demo.txt')"

# The editor starts linenav with its program folder, quoted and ending in a
# backslash.
linenav="$(winepath -w build/windows/linenav.exe 2>/dev/null)"
PROBE_COMMAND_LINE="\"$linenav\" \"C:\\linenav-demo\\Quillo\\\"" probe run >"$out/run.txt" &
run=$!
read -r left top right bottom _ _ < <(probe prompt)
echo "prompt open at ($left, $top)"

# A person clicks into the field and types the number (X keyboard into the
# Wine desktop), then presses Return.
fieldX=$(((left + right) / 2)); fieldY=$((bottom - 20))
xdotool mousemove "$fieldX" "$fieldY"
probe pointer "$fieldX" "$fieldY"
xdotool click 1
xdotool type --delay 30 "$typed"
probe field "$typed"
import -window root "$out/prompt.png" 2>/dev/null || true
xdotool key Return
wait "$run"
echo "linenav: $(tr -d '\r' <"$out/run.txt")"

line="$(probe caret 'Quillo V5. demo.txt')"
echo "typed $typed; the line map says $mapped; notepad's caret is on line $line"
import -window root "$out/result.png"
echo "screenshots: $out/prompt.png $out/result.png"
[ "$line" = "$mapped" ]
