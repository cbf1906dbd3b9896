#!/usr/bin/env bash
# The banner's cost: the CPU share of one core used by the exe's process over 60 s with the banner
# scrolling and nothing else happening, with the image cache (the product, and its benchmark build)
# and with the image rendered at every tick (the benchmark build's switch); then whether the frames
# of both are pixel-identical. A benchmark that prints figures, not a test.
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

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

measure() {
    local label=$1 exe=$2 rebuild=$3 copy pid before after
    copy="$work/Banner$RANDOM$(basename "$exe")"
    cp "$exe" "$copy"
    TAVRO_BANNER_REBUILD=$rebuild wine "$copy" >/dev/null 2>&1 &
    wine "$bin/tavroprobe.exe" wait "$TITLE" 20000 >/dev/null 2>&1
    sleep 2
    # The Linux process that runs this copy of the exe (started here, found by its unique name).
    pid=$(pgrep -f "$(basename "$copy")" | head -n 1)
    before=$(cpu_ticks "$pid")
    sleep "$seconds"
    after=$(cpu_ticks "$pid")
    wine "$bin/tavroprobe.exe" close "$TITLE" >/dev/null 2>&1 || true
    while kill -0 "$pid" 2>/dev/null; do sleep 0.2; done
    awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v l="$label" \
        'BEGIN { printf "%-52s %6.2f %% of one core (%.2f s CPU in %d s)\n", l, 100 * t / hz / s, t / hz, s }'
}

echo "CPU of the exe's process, banner scrolling, nothing else happening, ${seconds} s each:"
measure "Tavro.exe (image cache)" "$bin/Tavro.exe" 0
measure "benchmark build, image cache" "$bin/TavroBannerBench.exe" 0
measure "benchmark build, image rendered at every tick" "$bin/TavroBannerBench.exe" 1

# The floor under all of these: the same 10 ms timer posting to a hidden window, nothing drawn.
copy="$work/TimerFloor$RANDOM.exe"
cp "$bin/timer_floor_bench.exe" "$copy"
wine "$copy" $((seconds + 10)) >/dev/null 2>&1 &
floor_job=$!
sleep 3
pid=$(pgrep -f "$(basename "$copy")" | head -n 1)
before=$(cpu_ticks "$pid")
sleep "$seconds"
after=$(cpu_ticks "$pid")
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v l="10 ms timer and its posted ticks alone" \
    'BEGIN { printf "%-52s %6.2f %% of one core (%.2f s CPU in %d s)\n", l, 100 * t / hz / s, t / hz, s }'
wait "$floor_job"
echo "load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
echo
wine "$bin/banner_frames_bench.exe" 2>&1 | tr -d '\r'
rm -rf "$work"
