# Driving the tool and the CAD host simulator from outside, as a user at the screen would: the
# probe reads windows, xdotool clicks and types. Used by the end-to-end tests and the main job.
# Source it after wine_env_up, with DESKTOP_BIN set to the folder of the built exes.

TITLE="図心位置に円を描く"
ID_EDIT1=101
ID_LABEL1=102
ID_LABEL2=103
ID_CONTINUOUS=104
ID_CLOSE=105
ID_EXECUTE=106
ID_FACE_CENTRE=107

# The probe prints code page 932 text; the scripts compare in UTF-8.
probe() {
    wine "$DESKTOP_BIN/tavroprobe.exe" "$@" 2>/dev/null | tr -d '\r' | iconv -f CP932 -t UTF-8
}

# Paths between the two sides without starting a Wine program: Wine's prefix maps Z: to the Unix
# root and C: to its drive_c folder.
unix_path() {
    local path=${1//\\//}
    case "$path" in
    [Zz]:/*) echo "${path:2}" ;;
    [Cc]:/*) echo "$WINEPREFIX/drive_c/${path:3}" ;;
    *) winepath -u "$1" 2>/dev/null | tr -d '\r' ;;
    esac
}

windows_path() {
    local path
    path=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
    echo "Z:${path//\//\\}"
}

# Clicks the centre of a control of a window, as a user would.
click_control() {
    local caption=$1 id=$2 xy
    xy=$(probe rect "$caption" "$id")
    [ -n "$xy" ] || { echo "no control $id in [$caption]"; return 1; }
    # shellcheck disable=SC2086
    xdotool mousemove $xy click 1
    sleep 0.3
}

# Every program started here, so that a script that stops early can end what it left running
# (a window left behind would be found instead of the next test's).
DESKTOP_STARTED=()

# Starts a program under Wine in the background; sets STARTED_PID.
start_exe() {
    wine "$@" >/dev/null 2>&1 &
    STARTED_PID=$!
    DESKTOP_STARTED+=("$STARTED_PID")
}

# Ends the programs started here that still run (a number whose program has ended may name
# another process by now: only one of this Wine prefix is ended).
stop_started() {
    local pid
    for pid in "${DESKTOP_STARTED[@]}"; do
        if tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            kill "$pid" 2>/dev/null || true
        fi
    done
    DESKTOP_STARTED=()
}

# Waits for a background program to end, at most the given seconds; true when it ended.
wait_exit() {
    local pid=$1 seconds=$2 i
    for i in $(seq 1 $((seconds * 10))); do
        kill -0 "$pid" 2>/dev/null || { wait "$pid" 2>/dev/null || true; return 0; }
        sleep 0.1
    done
    return 1
}

# Replaces the circle size with real keystrokes.
type_size() {
    click_control "$TITLE" $ID_EDIT1
    xdotool key End
    xdotool key --repeat 40 --delay 5 BackSpace
    [ -z "$1" ] || xdotool type --delay 30 -- "$1"
    sleep 0.2
}

# The CAD host simulator, started with options; sets SIM_PID, SIM_LOG (UTF-8 copy on demand).
SIM_TITLE="AutoCAD 2024 - [Drawing1.dwg]"
start_sim() {
    local attempt
    # A Wine program that has not reached its own code after a minute (no log file yet, nothing
    # said) is stuck in starting, which a loaded machine has shown once in many runs: it is ended
    # and started once more. A simulator that started and refused its options is not retried.
    for attempt in 1 2; do
        start_sim_once "$@" && return 0
        [ -z "$SIM_STUCK" ] && return 1
        echo "the simulator did not reach its own start within a minute: started again"
        kill "$SIM_PID" 2>/dev/null || true
        wait_exit "$SIM_PID" 10 || kill -9 "$SIM_PID" 2>/dev/null || true
    done
    return 1
}

start_sim_once() {
    local dir
    dir=$(mktemp -d "$DESKTOP_BIN/../e2e-sim.XXXX")
    SIM_LOG_RAW="$dir/log.txt"
    SIM_STUCK=""
    local ready="$dir/ready.txt"
    wine "$DESKTOP_BIN/cadsim.exe" --log "$(windows_path "$SIM_LOG_RAW")" --ready "$(windows_path "$ready")" "$@" \
        >"$dir/stderr.txt" 2>&1 &
    SIM_PID=$!
    DESKTOP_STARTED+=("$SIM_PID")
    local i
    # A loaded machine can take many seconds to start a Wine program.
    for i in $(seq 1 600); do
        [ -f "$ready" ] && return 0
        sleep 0.1
    done
    if [ ! -e "$SIM_LOG_RAW" ] && [ ! -s "$dir/stderr.txt" ] && kill -0 "$SIM_PID" 2>/dev/null; then
        SIM_STUCK=1
        return 1
    fi
    echo "the simulator did not start: $(cat "$dir/stderr.txt")"
    return 1
}

stop_sim() {
    probe close "$SIM_TITLE" >/dev/null || true
    wait_exit "$SIM_PID" 10 || kill "$SIM_PID" 2>/dev/null || true
}

sim_log() {
    iconv -f CP932 -t UTF-8 "${SIM_LOG_RAW:-}" 2>/dev/null | tr -d '\r'
}

# "x,y radius" of every circle the simulator drew, one a line.
sim_circles() {
    sim_log | sed -n 's/.*entity created id=[0-9]* type=circle center=\([^ ]*\) radius=\([^ ]*\).*/\1 \2/p'
}

# The value FILEDIA was last set to in the simulator (1 when nothing set it).
sim_filedia() {
    local value
    value=$(sim_log | sed -n 's/.*variable FILEDIA=\([0-9]\).*/\1/p' | tail -n 1)
    echo "${value:-1}"
}

# Clicks Execute and waits until the run is over: the window is minimised while a run waits. A
# loaded machine may take a while to deliver the click, and a run minimises the window only once
# the double-click time has passed, so the run must first be seen to start (minimised, or
# something typed); a click that starts nothing is given ten seconds.
run_execute() {
    local typed i
    typed=$(sim_log | grep -c '^copydata' || true)
    click_control "$TITLE" $ID_EXECUTE
    for i in $(seq 1 50); do
        [ "$(probe iconic "$TITLE")" = 1 ] && break
        [ "$(sim_log | grep -c '^copydata' || true)" != "$typed" ] && break
        sleep 0.2
    done
    for i in $(seq 1 200); do
        [ "$(probe iconic "$TITLE")" = 0 ] && return 0
        sleep 0.2
    done
    echo "the run did not end"
    return 1
}
