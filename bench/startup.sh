#!/usr/bin/env bash
# Prints the size of Tavro.exe and the time from its start to its main window being visible, beside
# that of a bare window started the same way in the same run (the two take turns), under a warm
# wineserver (median of several runs). A benchmark that prints figures, not a test.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
runs=${1:-11}
for exe in Tavro.exe tavroprobe.exe bare_window.exe bare_window_dlls.exe; do
    [ -x "$bin/$exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
done

. "$root/scripts/wine-env.sh"
wine_env_up
trap wine_env_down EXIT

size=$(stat -c %s "$bin/Tavro.exe")
echo "Tavro.exe size: $size bytes ($(( (size + 1023) / 1024 )) KB; goal <= 350 KB)"
tavro=$(winepath -w "$bin/Tavro.exe")
bare=$(winepath -w "$bin/bare_window.exe")
dlls=$(winepath -w "$bin/bare_window_dlls.exe")
# One run of each to warm the file cache and the server, not counted.
programs=("$tavro" "図心位置に円を描く" "$bare" "bare window" "$dlls" "bare window with the tool's DLLs")
wine "$bin/tavroprobe.exe" launch-time 1 "${programs[@]}" >/dev/null 2>&1 || true
echo "start to visible window, $runs runs each, taking turns (ms):"
out=$(wine "$bin/tavroprobe.exe" launch-time "$runs" "${programs[@]}" 2>&1 | tr -d '\r')
echo "$out"
medians=($(sed -n 's/^median_ms=//p' <<<"$out"))
if [ ${#medians[@]} -eq 3 ]; then
    awk -v t="${medians[0]}" -v b="${medians[1]}" -v d="${medians[2]}" 'BEGIN {
        printf "Tavro.exe %.1f ms, bare window %.1f ms: ratio %.3f (goal <= 1.1)\n", t, b, t / b
        printf "the same bare window loading the DLLs the tool needs: %.1f ms (%.3f x the bare window); the tool beyond it: %.1f ms\n", d, d / b, t - d
    }'
fi
