# Shared by the end-to-end scripts: the Wine environment, the probe, real input through xdotool.
# Usage: source it with the folder of the built exes as $1.
set -euo pipefail

E2E_BIN=$(cd "$1" && pwd)
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
TITLE="図心位置に円を描く"
ID_EDIT1=101
ID_CLOSE=105
ID_EXECUTE=106

. "$E2E_ROOT/scripts/wine-env.sh"
wine_env_up
E2E_FAILURES=0
E2E_CHECKS=0

e2e_finish() {
    local status=$?
    wine_env_down
    if [ "$status" -ne 0 ] && [ "$E2E_FAILURES" -eq 0 ]; then
        echo "FAILED: the script stopped early (exit $status)"
    fi
    echo "$((E2E_CHECKS - E2E_FAILURES)) passed, $E2E_FAILURES failed"
    [ "$E2E_FAILURES" -eq 0 ] && [ "$status" -eq 0 ]
}
trap e2e_finish EXIT

# The probe prints code page 932 text; the scripts compare in UTF-8.
probe() {
    wine "$E2E_BIN/tavroprobe.exe" "$@" 2>/dev/null | tr -d '\r' | iconv -f CP932 -t UTF-8
}

check_eq() {
    local what=$1 expected=$2 actual=$3
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if [ "$expected" == "$actual" ]; then
        echo "ok: $what"
    else
        E2E_FAILURES=$((E2E_FAILURES + 1))
        echo "FAILED: $what: expected [$expected], got [$actual]"
    fi
}

check() {
    local what=$1
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    if "$@"; then
        echo "ok: $what"
    else
        E2E_FAILURES=$((E2E_FAILURES + 1))
        echo "FAILED: $what"
    fi
}

unix_path() {
    winepath -u "$1" 2>/dev/null | tr -d '\r'
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

# Starts a program under Wine in the background; sets STARTED_PID.
start_exe() {
    wine "$@" >/dev/null 2>&1 &
    STARTED_PID=$!
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
