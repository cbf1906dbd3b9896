#!/usr/bin/env bash
# Prints what the CAD host simulator costs per command with a drawing of 10 shapes and a history of
# 10 lines, and with 10,000 shapes and 100,000 lines (or SHAPES and LINES given), under Wine.
# A benchmark that prints figures, not a test. Usage: bench/cadsim.sh [SHAPES LINES]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
[ -x "$bin/cadsim_bench.exe" ] && [ -x "$bin/cadsim.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

wine "$bin/cadsim_bench.exe" "$@" 2>&1 | tr -d '\r' | iconv -f CP932 -t UTF-8 -c
