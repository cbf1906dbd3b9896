# Shared by the end-to-end scripts: the Wine environment, the desktop helpers, checks that count.
# Usage: source it with the folder of the built exes as $1.
set -Eeuo pipefail
# A command that stops the script says where, so that an early stop is never a silent one.
trap '[ "$BASH_SUBSHELL" -ne 0 ] || echo "stopped by a failing command at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND" >&2' ERR

E2E_BIN=$(cd "$1" && pwd)
E2E_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
DESKTOP_BIN=$E2E_BIN

. "$E2E_ROOT/scripts/wine-env.sh"
. "$E2E_ROOT/scripts/desktop.sh"
wine_env_up
E2E_FAILURES=0
E2E_CHECKS=0

e2e_finish() {
    local status=$?
    stop_started
    wine_env_down
    if [ "$status" -ne 0 ] && [ "$E2E_FAILURES" -eq 0 ]; then
        echo "FAILED: the script stopped early (exit $status)"
    fi
    echo "$((E2E_CHECKS - E2E_FAILURES)) passed, $E2E_FAILURES failed"
    [ "$E2E_FAILURES" -eq 0 ] && [ "$status" -eq 0 ]
}
trap e2e_finish EXIT

# The scripted user's lines as a file for the simulator's --user (each script sets $work).
user_script() {
    printf '%s\n' "$@" >"$work/user.txt"
    windows_path "$work/user.txt"
}

typed_records() { sim_log | grep -c '^copydata' || true; }
sim_prompt() { probe prompt "$SIM_TITLE"; }
# The value a variable was last set to in the simulator, or the given initial value.
sim_var() {
    local value
    value=$(sim_log | sed -n "s/.*variable $1=\([^ ]*\).*/\1/p" | tail -n 1)
    echo "${value:-$2}"
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


# The newest circle's exact centre and radius, "x,y radius" to the last bit (%.17g), from the line
# the simulator logs after each circle it draws; sim_circles prints only four decimals.
sim_circle_exact() {
    sim_log | sed -n 's/^entity exact id=[0-9]* center=\([^ ]*\) radius=\([^ ]*\).*/\1 \2/p' | tail -n 1
}

# Each point a running object snap moved, oldest first: "from=x,y to=x,y by=endpoint|midpoint|centre".
sim_snaps() { sim_log | sed -n 's/^host snap //p'; }
