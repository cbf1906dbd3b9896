#!/usr/bin/env bash
# Prints the platform calls of one prompt read and the time of a prompt read and of a last
# history line read against the CAD host simulator with a 5,000-line history, under Wine.
# A benchmark that prints figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/win64/bin"
[ -x "$bin/cad_link_bench.exe" ] && [ -x "$bin/cadsim.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

# The program prints the host's texts in code page 932.
wine "$bin/cad_link_bench.exe" 2>&1 | tr -d '\r' | iconv -f CP932 -t UTF-8 -c
