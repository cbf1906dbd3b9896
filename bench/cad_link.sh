#!/usr/bin/env bash
# Prints the platform calls of one prompt read and the time of a prompt read and of a last
# history line read against the CAD host simulator with histories of 5,000, 20,000 and 50,000
# lines (or the lengths given as arguments), under Wine. A benchmark that prints figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/win64/bin"
[ -x "$bin/cad_link_bench.exe" ] && [ -x "$bin/cadsim.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

# The program prints the host's texts in code page 932.
lengths=("$@")
[ ${#lengths[@]} -gt 0 ] || lengths=(5000 20000 50000)
wine "$bin/cad_link_bench.exe" "${lengths[@]}" 2>&1 | tr -d '\r' | iconv -f CP932 -t UTF-8 -c
