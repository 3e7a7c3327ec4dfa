# shellcheck shell=bash
# Wine test bench: an isolated prefix inside the build folder, a virtual X
# display and a Wine virtual desktop. Source this file, then call bench_up and
# bench_down (test.sh and demo.sh do). Safe to call bench_up again: it reuses
# the prefix and restarts nothing that is already running for this shell.

BENCH_ROOT="${BENCH_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
# Always the project's own prefix: a WINEPREFIX of the person's own names the
# prefix of their Windows programs, which the bench would reconfigure (virtual
# desktop, no crash dialog) and whose programs `wineserver -k` would end.
# LINENAV_WINEPREFIX may name another prefix for the bench alone.
export WINEPREFIX="${LINENAV_WINEPREFIX:-$BENCH_ROOT/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
BENCH_DESKTOP_SIZE="${BENCH_DESKTOP_SIZE:-1024x768}"

bench_log() { echo "bench: $*" >&2; }

# Wine draws the caption buttons with Marlett; Debian ships it outside the
# prefix, where this Wine does not pick it up, so the buttons would show as
# letters. A copy in the prefix's font folder fixes that.
bench_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" font=/usr/share/wine/fonts/marlett.ttf
    if [ -f "$font" ] && [ -d "$fonts" ] && [ ! -f "$fonts/${font##*/}" ]; then
        cp "$font" "$fonts/"
    fi
    return 0
}

# Creates the prefix once and configures it for unattended runs. Every step is
# checked and the ready marker is written only when all of them succeeded, so
# a prefix that failed half-way is made again on the next run. Fails (status
# 1) when a step fails.
bench_prefix() {
    if [ -f "$WINEPREFIX/.linenav-ready" ]; then
        bench_fonts
        return 0
    fi
    bench_log "creating Wine prefix in $WINEPREFIX"
    mkdir -p "$WINEPREFIX" || return 1
    if ! DISPLAY='' wine wineboot -i >/dev/null 2>&1 || ! wineserver -w || [ ! -f "$WINEPREFIX/system.reg" ]; then
        bench_log "wineboot could not make the prefix"
        return 1
    fi
    local reg="$WINEPREFIX/bench-settings.reg"
    cat >"$reg" <<REG || return 1
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="$BENCH_DESKTOP_SIZE"
REG
    if ! DISPLAY='' wine regedit /S "$reg" >/dev/null 2>&1 || ! wineserver -w; then
        bench_log "regedit could not configure the prefix"
        return 1
    fi
    bench_fonts && touch "$WINEPREFIX/.linenav-ready"
}

# Starts Xvfb on a free display number, a persistent wineserver and the
# virtual desktop. Exports DISPLAY.
bench_up() {
    bench_prefix || return 1
    if [ -z "${BENCH_XVFB_PID:-}" ] || ! kill -0 "$BENCH_XVFB_PID" 2>/dev/null; then
        # A server left by a run that was interrupted belongs to a display
        # that is gone: its desktop would fail every program with BadWindow.
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
        local fifo
        fifo="$(mktemp -u)"
        mkfifo "$fifo"
        Xvfb -displayfd 3 -screen 0 "${BENCH_DESKTOP_SIZE}x24" -nolisten tcp \
            3>"$fifo" >/dev/null 2>&1 &
        BENCH_XVFB_PID=$!
        local num=""
        read -r -t 20 num <"$fifo" || true
        rm -f "$fifo"
        if [ -z "$num" ]; then
            bench_log "Xvfb did not start"
            return 1
        fi
        export DISPLAY=":$num"
        export BENCH_XVFB_PID
    fi
    wineserver -p 2>/dev/null || true # already running for this shell: keep it
    # The explorer process owns the virtual desktop; every later program of
    # this prefix joins it, which gives captions, close boxes and Wine's own
    # deterministic activation without a window manager.
    wine explorer /desktop=Default,"$BENCH_DESKTOP_SIZE" >/dev/null 2>&1 &
    BENCH_EXPLORER_PID=$!
    export BENCH_EXPLORER_PID
    # Wait (bounded) until the desktop window is mapped on the X display.
    local tries
    for ((tries = 300; tries > 0; tries--)); do
        if xwininfo -root -children 2>/dev/null | grep -q 'Wine desktop\|Default - Wine'; then
            return 0
        fi
        sleep 0.1
    done
    bench_log "virtual desktop window not seen; continuing"
    return 0
}

bench_down() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
    if [ -n "${BENCH_XVFB_PID:-}" ]; then
        kill "$BENCH_XVFB_PID" 2>/dev/null || true
        wait "$BENCH_XVFB_PID" 2>/dev/null || true
        unset BENCH_XVFB_PID
    fi
}
