#!/usr/bin/env bash
# Prints the time from the Execute click to the CIRCLE record reaching the simulator, for
# face-centre runs and region passes, beside the floor the 200 ms polls set. Figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
[ -x "$bin/workflow_bench.exe" ] && [ -x "$bin/Tavro.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

# --trace also prints, for the last run of each kind, what the simulator handled and when.
wine "$bin/workflow_bench.exe" "$@" 2>&1 | tr -d '\r' | iconv -f CP932 -t UTF-8 -c
