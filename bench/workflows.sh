#!/usr/bin/env bash
# Prints, for face-centre runs and region passes, the time from the user's pick or selection and
# from the Execute click to the CIRCLE record reaching the simulator, with the product's waits and
# with 200 ms sleeps between looks side by side, and beside a bare sender of the same records (the
# floor); then what a waiting run costs the whole desktop, with the pointer at rest and moving.
# Figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
[ -x "$bin/workflow_bench.exe" ] && [ -x "$bin/Tavro.exe" ] && [ -x "$bin/TavroBannerBench.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

# The Wine server of this prefix, whose CPU counts with the tool's and the simulator's.
for pid in $(pgrep wineserver || true); do
    if { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
        export TAVRO_BENCH_WINESERVER_PID=$pid
    fi
done
# --trace also prints the last later face-centre run as the simulator handled it, and when;
# --exe NAME times another build of the tool copied into the bin folder in place of Tavro.exe.
wine "$bin/workflow_bench.exe" "$@" 2>&1 | tr -d '\r' | iconv -f CP932 -t UTF-8 -c
