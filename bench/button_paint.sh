#!/usr/bin/env bash
# Prints the cost of one paint of the gradient push button under Wine. A benchmark that prints
# figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/win64/bin"
[ -x "$bin/button_paint_bench.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT
wine "$bin/button_paint_bench.exe" 2>&1 | tr -d '\r'
