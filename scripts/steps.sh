# shellcheck shell=bash
# Steps of test.sh that run beside each other. Source this file, then:
#   step_start NAME COMMAND...   runs COMMAND (a program or a function) in the
#                                background, its output in build/steps/NAME.log
#   step_run NAME COMMAND...     runs COMMAND now, output and time as above
#   step_wait NAME...            waits for each, prints its output, and fails
#                                naming the first step that failed
#   step_part NAME COMMAND...    inside a step: runs COMMAND and says how it
#                                went and how long it took, as a line of the
#                                step's output
#   step_times                   prints each step's start (seconds after the
#                                first step) and length
#   step_stop_all                stops the steps still running (for a trap)
# Each step runs in a process group of its own (job control), so stopping a
# step stops its compilers and test programs too.

STEPS_DIR="${STEPS_DIR:-build/steps}"
declare -A STEP_PIDS=()
STEP_NAMES=()
STEPS_EPOCH="${EPOCHREALTIME/[.,]/}"
set -m

# _step_now: microseconds since 1970, an integer for shell arithmetic.
_step_now() { echo "${EPOCHREALTIME/[.,]/}"; }

# _step_seconds FROM TO: whole seconds from one _step_now to another, rounded.
_step_seconds() { echo "$((($2 - $1 + 500000) / 1000000))"; }

# _step_word STATUS: "passed", or "failed (status N)".
_step_word() { if [ "$1" -eq 0 ]; then echo passed; else echo "failed (status $1)"; fi; }

# _step_body NAME COMMAND...: the background shell of one step.
_step_body() {
    local name="$1" status=0 started
    started="$(_step_now)"
    shift
    "$@" || status=$?
    echo "$status $started $(_step_now)" >"$STEPS_DIR/$name.status"
    return "$status"
}

step_start() {
    local name="$1"
    shift
    mkdir -p "$STEPS_DIR"
    rm -f "$STEPS_DIR/$name.status"
    _step_body "$name" "$@" </dev/null >"$STEPS_DIR/$name.log" 2>&1 &
    STEP_PIDS[$name]=$!
    STEP_NAMES+=("$name")
}

step_run() {
    step_start "$@"
    step_wait "$1"
}

step_wait() {
    local name status
    for name in "$@"; do
        status=0
        wait "${STEP_PIDS[$name]}" || status=$?
        unset "STEP_PIDS[$name]"
        echo "=== $name: $(_step_outcome "$name" "$status")"
        cat "$STEPS_DIR/$name.log"
        if [ "$status" -ne 0 ]; then
            echo "test.sh: step $name failed (status $status); its output is above and in $STEPS_DIR/$name.log" >&2
            return 1
        fi
    done
}

# _step_outcome NAME STATUS: "passed in 12 s" or "failed (status 2) in 12 s".
_step_outcome() {
    local started ended
    if read -r _ started ended 2>/dev/null <"$STEPS_DIR/$1.status"; then
        echo "$(_step_word "$2") in $(_step_seconds "$started" "$ended") s"
    else
        _step_word "$2"
    fi
}

step_part() {
    local name="$1" status=0 started
    shift
    started="$(_step_now)"
    echo "--- $name"
    "$@" || status=$?
    echo "--- $name: $(_step_word "$status") in $(_step_seconds "$started" "$(_step_now)") s"
    return "$status"
}

step_times() {
    local name started ended
    printf '%-22s %8s %8s\n' step "start s" "length s"
    for name in "${STEP_NAMES[@]}"; do
        if read -r _ started ended 2>/dev/null <"$STEPS_DIR/$name.status"; then
            printf '%-22s %8d %8d\n' "$name" "$(((started - STEPS_EPOCH) / 1000000))" \
                "$(_step_seconds "$started" "$ended")"
        fi
    done
    printf '%-22s %8s %8d\n' total "" "$(_step_seconds "$STEPS_EPOCH" "$(_step_now)")"
}

step_stop_all() {
    local name
    for name in "${!STEP_PIDS[@]}"; do
        kill -- "-${STEP_PIDS[$name]}" 2>/dev/null || true
    done
}
