#!/usr/bin/env bash
# The main job: the tool against the CAD host simulator under Wine. Starts both, takes a screenshot
# of the screen into build/screenshots/, prints where it is, and closes both cleanly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/win64"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "${TAVRO_JOBS:-2}" --target Tavro cadsim tavroprobe

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

bin="$build/bin"
title="図心位置に円を描く"
cad_title="AutoCAD 2024 - [Drawing1.dwg]"
probe() { wine "$bin/tavroprobe.exe" "$@" 2>/dev/null | tr -d '\r' | iconv -f CP932 -t UTF-8; }

wine "$bin/cadsim.exe" >/dev/null 2>&1 &
cad_pid=$!
probe wait "$cad_title" 20000 >/dev/null || { echo "run: the simulator did not open its window" >&2; exit 1; }
wine "$bin/Tavro.exe" >/dev/null 2>&1 &
tavro_pid=$!
probe wait "$title" 20000 >/dev/null || { echo "run: the tool did not open its window" >&2; exit 1; }
sleep 1

mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/main-job.png"
import -window root "$shot"
echo "run: circle size shown: $(probe text "$title" 101)"
echo "run: screenshot: $shot"

probe close "$title" >/dev/null
probe close "$cad_title" >/dev/null
status=0
for pid in $tavro_pid $cad_pid; do
    for _ in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        echo "run: a program did not close by itself" >&2
        kill "$pid" 2>/dev/null || true
        status=1
    fi
    wait "$pid" 2>/dev/null || true
done
exit $status
