#!/usr/bin/env bash
# The tool's committed private memory (PagefileUsage: Wine leaves PrivateUsage at 0) before and
# after two things that move large texts: a face-centre run with a large text on the user's
# clipboard (saved and put back around the history read), and 結果をコピー of a large results list,
# and what is left of each once another program has copied something.
# Prints the figure before, the peak, and what is kept afterwards, in MB; and the tool's GDI (and
# USER) objects at start, after each part, and after 100 minimise/restore cycles and 20 DPI round
# trips, which are to leave the count where it was. Figures, not a test.
# Usage: bench/memory.sh [CLIPBOARD_MB [LIST_MB]]   (default 50 and 100)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
[ -x "$bin/Tavro.exe" ] && [ -x "$bin/cadsim.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }
clip_mb=${1:-50}
list_mb=${2:-100}

. "$root/scripts/wine-env.sh"
DESKTOP_BIN=$bin
. "$root/scripts/desktop.sh"
wine_env_up
work=$(mktemp -d)
trap 'stop_started; wine_env_down; rm -rf "$work"' EXIT

mb() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }
mem() { probe mem "$TITLE"; }
# Wine's PeakPagefileUsage follows the current figure, so the peak is also read from Linux: the
# resident high-water mark of the tool's process, reset before each part.
tool_pid() {
    local pid
    for pid in $(pgrep -f -- 'TavroMemory\.exe' || true); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid" && return
    done
}
rss_peak_reset() { echo 5 >"/proc/$(tool_pid)/clear_refs"; }
rss() { awk -v k="$1:" '$1 == k { printf "%.1f", $2 / 1024 }' "/proc/$(tool_pid)/status"; }
# The largest PagefileUsage seen while a part runs, sampled until the file $1 appears.
sample_peak() {
    local top=0 now
    while [ ! -e "$1" ]; do
        read -r now _ <<<"$(mem)" || true
        [ -n "$now" ] && [ "$now" -gt "$top" ] && top=$now
    done
    echo "$top" >"$1.peak"
}

halvetra="$(unix_path "$(probe appdata)")/Halvetra"
mkdir -p "$halvetra"
cp "$bin/Tavro.exe" "$work/TavroMemory.exe"
list="$halvetra/TavroMemory.csv"
rm -f "$list" "$halvetra"/TavroMemory.kept*.csv

start_exe "$work/TavroMemory.exe"
probe wait "$TITLE" 20000 >/dev/null
sleep 1
probe gdi "$TITLE" | sed '$s/^/objects at start: /'
start_sim --drawing "$(windows_path "$bin/samples/rectangle.txt")" --user "$(
    printf 'pick 30,35\n' >"$work/user.txt"
    windows_path "$work/user.txt"
)"
probe clip-big "$clip_mb"
sleep 1
read -r before _ <<<"$(mem)"
rss_peak_reset
sample_peak "$work/run.done" &
sampler=$!
run_execute
sleep 1
touch "$work/run.done"
wait "$sampler"
read -r after _ <<<"$(mem)"
echo "run with ${clip_mb} MB on the clipboard: private before $(mb "$before") MB, peak $(mb "$(cat "$work/run.done.peak")") MB" \
    "(sampled), kept $(mb "$after") MB (+$(mb $((after - before))) MB); resident peak $(rss VmHWM) MB, now $(rss VmRSS) MB"
# What the tool put on the clipboard stays in its memory while it is the clipboard's; the tool lets
# it go when another program's copy replaces it.
probe clip-put "another program's text" >/dev/null
sleep 1
read -r taken _ <<<"$(mem)"
echo "  after another program took the clipboard: $(mb "$taken") MB"
echo "  objects after the run: $(probe gdi "$TITLE" | tail -n 1)"
stop_sim

# A list of about list_mb MB: the header and rows of a real list.
python3 - "$list" "$list_mb" <<'EOF'
import sys
path, mb = sys.argv[1], int(sys.argv[2])
header = "\ufeff日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n".encode("utf-8")
row = "2026/12/08 14:30:15,図面1.dwg,面の中心,4200.0000,260.0000,30.0000,35.0000,50\r\n".encode("utf-8")
with open(path, "wb") as f:
    f.write(header)
    f.write(row * (mb * 1024 * 1024 // len(row)))
EOF
probe clip-put "before the copy" >/dev/null
read -r before _ <<<"$(mem)"
rss_peak_reset
sample_peak "$work/copy.done" &
sampler=$!
probe syscommand "$TITLE" 0x0110 0 >/dev/null
copied=no
for _ in $(seq 1 600); do
    case "$( (probe clip-get || true) | head -n 1)" in 日時*) copied=yes && break ;; esac
    sleep 0.2
done
sleep 2
touch "$work/copy.done"
wait "$sampler"
read -r after _ <<<"$(mem)"
echo "copy of a ${list_mb} MB list (copied: $copied, $(probe clip-get | wc -l) lines): private before $(mb "$before") MB," \
    "peak $(mb "$(cat "$work/copy.done.peak")") MB (sampled), kept $(mb "$after") MB (+$(mb $((after - before))) MB);" \
    "resident peak $(rss VmHWM) MB, now $(rss VmRSS) MB"
probe clip-put "another program's text" >/dev/null
sleep 1
read -r taken _ <<<"$(mem)"
echo "  after another program took the clipboard: $(mb "$taken") MB"
echo "  objects after the copy: $(probe gdi "$TITLE" | tail -n 1)"
probe cycles "$TITLE" 100 20 "$ID_EXECUTE" | grep -v '^(USER'
probe close "$TITLE" >/dev/null
sleep 2
rm -f "$list" "$halvetra"/TavroMemory.kept*.csv "$halvetra/TavroMemory.Ini"
