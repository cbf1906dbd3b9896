#!/usr/bin/env bash
# The banner's cost over some seconds with the banner scrolling and nothing else happening: the
# CPU of the exe's process, and of the whole system that shows it (the exe, the Wine server, the X
# server and the window manager, each read from /proc), for the product (shown and minimised), the
# benchmark build that renders its image at every tick, and the bare 10 ms timer posting to a
# hidden window; then whether the frames are pixel-identical. A benchmark that prints figures, not a test.
# Usage: bench/banner.sh [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/win64/bin"
seconds=${1:-60}
for exe in Tavro.exe TavroBannerBench.exe banner_frames_bench.exe timer_floor_bench.exe tavroprobe.exe; do
    [ -x "$bin/$exe" ] || { echo "build first: scripts/build.sh ($exe is missing)" >&2; exit 1; }
done

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT
work=$(mktemp -d)
TITLE="図心位置に円を描く"
hz=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks (0 once it is gone).
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

# The rest of the system that draws for the exe: this run's Wine server (the one whose working
# folder is named after this prefix's device and inode, as Wine names it), and the X server and window manager when this
# script started them. Other runs on the machine have their own and are not counted.
server_dir="server-$(stat -c '%d' "$WINEPREFIX" | xargs printf '%x')-$(stat -c '%i' "$WINEPREFIX" | xargs printf '%x')"
system_pids() {
    local pid
    for pid in $(pgrep wineserver); do
        [ "$(basename "$(readlink "/proc/$pid/cwd" 2>/dev/null)")" = "$server_dir" ] && echo "$pid"
    done
    [ -n "${_wine_env_started_xvfb:-}" ] && echo "$_wine_env_started_xvfb"
    [ -n "${_wine_env_started_wm:-}" ] && echo "$_wine_env_started_wm"
    return 0
}
sum_ticks() {
    local total=0 pid
    for pid in "$@"; do total=$((total + $(cpu_ticks "$pid"))); done
    echo "$total"
}

# Measures one process and the system around it for $seconds; prints a line and sets $whole.
report() {
    local label=$1 own=$2 whole_ticks=$3
    awk -v t="$own" -v w="$whole_ticks" -v hz="$hz" -v s="$seconds" -v l="$label" \
        'BEGIN { printf "%-46s exe %6.2f %%  whole system %6.2f %% of one core (%d / %d clock ticks)\n", l, 100 * t / hz / s, 100 * w / hz / s, t, w }'
}
measure_pid() {
    local pid=$1 others before_own before_all after_own after_all
    others=$(system_pids)
    before_own=$(cpu_ticks "$pid")
    before_all=$(sum_ticks "$pid" $others)
    sleep "$seconds"
    after_own=$(cpu_ticks "$pid")
    after_all=$(sum_ticks "$pid" $others)
    own=$((after_own - before_own))
    whole=$((after_all - before_all))
}

# Where the pointer rests while measuring: in a corner, away from the window (where it is while the
# user works in the CAD), or at the screen's centre, over the centred window. Over the window the
# platform follows the pointer for the controls' leave notifications, which costs on its own.
park_pointer() {
    if [ "$1" = over ]; then
        read -r width height < <(xdotool getdisplaygeometry)
        xdotool mousemove $((width / 2)) $((height / 2))
    else
        xdotool mousemove 0 0
    fi
}

measure_tavro() {
    local label=$1 exe=$2 rebuild=$3 minimise=$4 pointer=${6:-away} copy pid
    park_pointer "$pointer"
    copy="$work/Banner$RANDOM$(basename "$exe")"
    cp "$exe" "$copy"
    TAVRO_BANNER_REBUILD=$rebuild wine "$copy" >/dev/null 2>&1 &
    wine "$bin/tavroprobe.exe" wait "$TITLE" 20000 >/dev/null 2>&1
    if [ "$minimise" = 1 ]; then
        wine "$bin/tavroprobe.exe" minimize "$TITLE" >/dev/null 2>&1
    fi
    sleep 2
    # The Linux process that runs this copy of the exe (started here, found by its unique name).
    pid=$(pgrep -f "$(basename "$copy")" | head -n 1)
    measure_pid "$pid"
    wine "$bin/tavroprobe.exe" close "$TITLE" >/dev/null 2>&1 || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.2; done
    report "$label" "$own" "$whole"
    eval "whole_$5=$whole"
}

echo "CPU over ${seconds} s each, banner scrolling, nothing else happening:"
echo "(the pointer rests in a corner of the screen unless said otherwise)"
measure_tavro "Tavro.exe (image cache)" "$bin/Tavro.exe" 0 0 shown
measure_tavro "Tavro.exe, pointer resting on the window" "$bin/Tavro.exe" 0 0 pointed over
measure_tavro "Tavro.exe minimised" "$bin/Tavro.exe" 0 1 minimised
measure_tavro "benchmark build, image cache" "$bin/TavroBannerBench.exe" 0 0 bench
measure_tavro "benchmark build, image rendered at every tick" "$bin/TavroBannerBench.exe" 1 0 rebuild

# The floor under all of these: the same 10 ms timer posting to a hidden window, nothing drawn;
# and the same timer in a program that only copies a strip of the banner's size at every tick.
measure_floor() {
    local label=$1 mode=$2 copy floor_job pid
    park_pointer away
    copy="$work/TimerFloor$RANDOM.exe"
    cp "$bin/timer_floor_bench.exe" "$copy"
    wine "$copy" $((seconds + 10)) $mode >/dev/null 2>&1 &
    floor_job=$!
    sleep 3
    pid=$(pgrep -f "$(basename "$copy")" | head -n 1)
    measure_pid "$pid"
    report "$label" "$own" "$whole"
    wait "$floor_job"
}
measure_floor "10 ms timer and its posted ticks alone" ""
floor=$whole
measure_floor "the timer copying a 193 x 25 strip every tick" paint
strip=$whole
awk -v s="$whole_shown" -v m="$whole_minimised" -v f="$floor" 'BEGIN {
    if (f <= 0) { print "whole-system ratios: the floor measured 0 ticks; run longer"; exit }
    printf "whole system against the bare timer: scrolling %.2f x (goal <= 1.5), minimised %.2f x (goal <= 1.1)\n", s / f, m / f
}'
awk -v p="$whole_pointed" -v c="$strip" -v s="$whole_shown" -v f="$floor" 'BEGIN {
    if (f <= 0) exit
    printf "scrolling with the pointer resting on the window: %.2f x the bare timer\n", p / f
    printf "a bare program copying the strip at every tick: %.2f x the bare timer; the banner %.2f x that program\n", c / f, s / c
}'
echo "load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo
wine "$bin/banner_frames_bench.exe" 2>&1 | tr -d '\r'
rm -rf "$work"
