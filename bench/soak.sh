#!/usr/bin/env bash
# A long run: N continuous region passes against the simulator's scripted user, printing every 100
# passes the tool's memory and object counts, the mean pass time, the CPU time per pass of the
# tool and of the simulator and the tool's page faults per pass, and at the end the ratio of the
# last hundred to the first for each.
# Figures, not a test. Ctrl+C stops it: the tool, the simulator and the Wine server end with it.
# The CPU times are read while the benchmark waits after each figures line, so that the tool and
# the simulator are still running when they are sampled (at the end of the run too).
# With a second argument K the simulator keeps at most K history lines, as a CAD program with a fixed
# history size does: what still grows then is not the history the tool reads at every pass.
# Usage: bench/soak.sh [N [K]]   (default 1000, the whole history)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin="$root/build/${TAVRO_BUILD_DIR:-win64}/bin"
[ -x "$bin/soak_bench.exe" ] && [ -x "$bin/Tavro.exe" ] || { echo "build first: scripts/build.sh" >&2; exit 1; }

. "$root/scripts/wine-env.sh"
wine_env_up
# The benchmark's input: a line written there says that its last figures have been sampled.
samples_dir=$(mktemp -d)
trap 'wine_env_down; rm -rf "$samples_dir"' EXIT
trap 'exit 130' INT TERM
mkfifo "$samples_dir/sampled"

ticks_per_second=$(getconf CLK_TCK)

# User and system time in ms, and minor page faults, that the kernel counted for the processes of
# this Wine session whose command line runs the exe matched by pattern (Wine's GetProcessTimes
# does not give another process's own times, so they are read here). Page faults count the fresh
# memory a process touches, whatever the load of the machine: a pass that moves a block growing
# with the session shows here.
usage_of() {
    local pid ticks=0 faults=0 stat fields
    for pid in $(pgrep -f -- "$1" || true); do
        tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" || continue
        stat=$(cat "/proc/$pid/stat" 2>/dev/null) || continue
        read -ra fields <<<"${stat##*) }"  # after the command name: state is the first field
        ticks=$((ticks + fields[11] + fields[12]))
        faults=$((faults + fields[7]))
    done
    echo "$((ticks * 1000 / ticks_per_second)) $faults"
}

# The growth per pass from one sample to the next; "-" when a process ended between the two
# samples, rather than a negative figure.
per_pass() {
    awk -v a="$1" -v b="$2" -v n="$3" -v f="$4" 'BEGIN { if (a < b) print "-"; else printf f, (a - b) / n }'
}

# Adds the CPU time per pass of the tool and of the simulator, and the tool's page faults per pass,
# to each "N passes" line; the benchmark waits on fd 3 until they have been read.
annotate() {
    local line passes tool sim faults last_passes="" last_tool=0 last_sim=0 last_faults=0 first="" last=""
    trap '' PIPE  # a benchmark that has ended makes the acknowledgement fail, not this loop
    while IFS= read -r line; do
        line=${line%$'\r'}
        if [[ $line =~ ^\ *([0-9]+)\ passes ]]; then
            passes=${BASH_REMATCH[1]}
            read -r tool faults <<<"$(usage_of '[\\/]Tavro\.exe')"
            read -r sim _ <<<"$(usage_of '[\\/]cadsim\.exe')"
            printf '\n' >&3 2>/dev/null || true
            if [ -n "$last_passes" ] && [ "$passes" -gt "$last_passes" ]; then
                local n=$((passes - last_passes)) per_tool per_sim per_faults
                per_tool=$(per_pass "$tool" "$last_tool" "$n" "%.1f")
                per_sim=$(per_pass "$sim" "$last_sim" "$n" "%.1f")
                per_faults=$(per_pass "$faults" "$last_faults" "$n" "%.0f")
                line="$line  CPU/pass: tool $per_tool ms  simulator $per_sim ms  tool page faults/pass $per_faults"
                [ "$n" -eq 100 ] && { [ -n "$first" ] || first="$per_tool $per_sim"; last="$per_tool $per_sim"; }
            fi
            last_passes=$passes last_tool=$tool last_sim=$sim last_faults=$faults
        fi
        # One line at a time, so that each shows as soon as the benchmark prints it.
        printf '%s\n' "$line" | iconv -f CP932 -t UTF-8 -c
    done
    if [ -n "$first" ]; then
        awk -v f="$first" -v l="$last" 'function ratio(x, y) { return x > 0 && y != "-" ? sprintf("%.2f", y / x) : "-" }
            BEGIN {
                split(f, a, " "); split(l, b, " ");
                printf "last hundred / first hundred, CPU per pass: tool %s, simulator %s\n", ratio(a[1], b[1]), ratio(a[2], b[2]) }'
    fi
}

# Both ends of the FIFO open together: the benchmark reads it as its input, annotate writes to it.
keep=()
[ -z "${2:-}" ] || keep=(--history-keep "$2")
wine "$bin/soak_bench.exe" "${1:-1000}" --sampled "${keep[@]}" <"$samples_dir/sampled" 2>&1 | annotate 3>"$samples_dir/sampled"
