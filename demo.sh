#!/usr/bin/env bash
# Shows the tool's main job on a real editor: Wine's notepad opened on a
# sample file whose name gives it the title "Quillo V5. demo.txt - Notepad",
# and linenav.exe started as the editor starts it. Installs what is missing,
# builds, starts the Wine bench, prints where the caret landed and saves
# screenshots under build/demo/.
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
folder="$WINEPREFIX/drive_c/linenav-demo"
mkdir -p "$folder"
for i in $(seq 1 200); do printf 'demo line %d\r\n' "$i"; done >"$folder/Quillo V5. demo.txt"

wine notepad 'C:\linenav-demo\Quillo V5. demo.txt' >/dev/null 2>&1 &
probe wait 'Quillo V5. demo.txt' >/dev/null

# A person clicks somewhere down the document, moving the caret away from the top.
xdotool mousemove 60 320 click 1
echo "caret before linenav: line $(probe caret 'Quillo V5. demo.txt')"
import -window root "$out/before.png"

# The editor starts linenav with its program folder, quoted and ending in a backslash.
target=1
PROBE_COMMAND_LINE='"Z:'"$(pwd -P | tr / '\\')"'\build\windows\linenav.exe" "C:\Program Files\Quillo\"' \
    probe run
line="$(probe caret 'Quillo V5. demo.txt')"
echo "caret after linenav:  line $line (asked for line $target)"
import -window root "$out/after.png"
echo "screenshots: $out/before.png $out/after.png"

[ "$line" = "$target" ]
