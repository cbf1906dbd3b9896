#!/usr/bin/env bash
# Prints the size of Tavro.exe and the time from its start to its main window being visible, under
# a warm wineserver (median of several runs). A benchmark that prints figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/win64/bin"
runs=${1:-9}
[ -x "$bin/Tavro.exe" ] && [ -x "$bin/tavroprobe.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

echo "Tavro.exe size: $(stat -c %s "$bin/Tavro.exe") bytes"
# One run to warm the file cache and the server, not counted.
wine "$bin/tavroprobe.exe" launch-time "$(winepath -w "$bin/Tavro.exe")" "図心位置に円を描く" 1 >/dev/null 2>&1 || true
echo "start to visible main window, $runs runs (ms):"
wine "$bin/tavroprobe.exe" launch-time "$(winepath -w "$bin/Tavro.exe")" "図心位置に円を描く" "$runs" 2>&1 | tr -d '\r'
