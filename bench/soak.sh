#!/usr/bin/env bash
# A long run: N continuous region passes against the simulator's scripted user, printing the
# tool's memory and object counts every 100 passes. Figures, not a test.
# Usage: bench/soak.sh [N]   (default 1000)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
[ -x "$bin/soak_bench.exe" ] && [ -x "$bin/Tavro.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

wine "$bin/soak_bench.exe" "${1:-1000}" 2>&1 | tr -d '\r' | iconv -f CP932 -t UTF-8 -c
