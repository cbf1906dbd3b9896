#!/usr/bin/env bash
# Runs a benchmark script with the Wine prefix's display at another DPI (LogPixels, read when each
# program starts) and puts 96 back afterwards: bench/at_dpi.sh 144 bench/startup.sh 11
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dpi=$1
shift
set_dpi() {
    bash "$root/scripts/with-wine" wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" \
        /f >/dev/null 2>&1
}
trap 'set_dpi 96' EXIT
set_dpi "$dpi"
echo "display at $dpi DPI ($((dpi * 100 / 96)) %)"
bash "$@"
