#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan and UBSan) in build/fuzz and runs each for the
# given seconds, printing executions, executions per second and findings per target. Exits non-zero
# on any finding.
# Usage: scripts/fuzz.sh SECONDS [RUNS]   (RUNS: stop a target after that many executions)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: fuzz.sh SECONDS [RUNS]}
runs=${2:--1}
out=${TAVRO_FUZZ_DIR:-$root/build/fuzz}
src="$out/src"
jobs=${TAVRO_JOBS:-2}

command -v clang++ >/dev/null || { echo "fuzz: clang++ is missing (scripts/install-deps.sh)" >&2; exit 1; }

# clang takes narrow literals as their source bytes, so it compiles a copy of the sources whose
# narrow literals beyond ASCII are written as the escapes of their code page 932 bytes, as the
# product's compilers make them; UTF-16 literals stay as they are.
mkdir -p "$src"
(cd "$root" && git ls-files --cached --others --exclude-standard CMakeLists.txt cmake platform framework cadlink widgets app tests/CMakeLists.txt tests/fuzz) |
    while IFS= read -r file; do
        target="$src/$file"
        mkdir -p "$(dirname "$target")"
        case "$file" in
        *.cpp | *.h)
            perl "$root/scripts/cp932-literals.pl" <"$root/$file" >"$target.new"
            ;;
        *) cp "$root/$file" "$target.new" ;;
        esac
        # Unchanged files keep their time, so the build stays incremental.
        if cmp -s "$target.new" "$target"; then rm "$target.new"; else mv "$target.new" "$target"; fi
    done

cmake -S "$src" -B "$out/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
# Every fuzz target the tree defines (some need parts of the program that may not be there).
mapfile -t targets < <(cmake --build "$out/build" --target help | grep -o 'fuzz_[a-z0-9_]*' | sort -u)
cmake --build "$out/build" -j "$jobs" --target "${targets[@]}" >"$out/build.log" 2>&1 ||
    { cat "$out/build.log" >&2; exit 1; }

# TAVRO_FUZZ_PARALLEL=1 runs the targets side by side (for long runs on a machine with cores to spare).
run_target() {
    local name=$1 seeds="$root/tests/fuzz/corpus/${1#fuzz_}" corpus="$out/corpus/${1#fuzz_}" findings="$out/findings/$1"
    rm -rf "$findings"
    mkdir -p "$corpus" "$findings" "$seeds"
    local start
    start=$(date +%s)
    "$out/build/tests/fuzz/$name" -max_total_time="$seconds" -runs="$runs" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "$seeds" >"$out/$name.log" 2>&1 || true
    echo $(($(date +%s) - start)) >"$out/$name.seconds"
}
for name in "${targets[@]}"; do
    if [ "${TAVRO_FUZZ_PARALLEL:-}" = 1 ]; then run_target "$name" & else run_target "$name"; fi
done
wait

total_findings=0
printf '%-22s %14s %9s %9s %8s\n' target executions exec/s findings seconds
for name in "${targets[@]}"; do
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/$name.log" | tail -n 1)
    found=$(find "$out/findings/$name" -type f | wc -l)
    total_findings=$((total_findings + found))
    took=$(cat "$out/$name.seconds")
    rate=$([ -n "$executions" ] && [ "$took" -gt 0 ] && echo $((executions / took)) || echo "?")
    printf '%-22s %14s %9s %9s %8s\n' "$name" "${executions:-?}" "$rate" "$found" "$took"
    if [ "$found" -gt 0 ]; then
        grep -E 'ERROR|property failed|SUMMARY' "$out/$name.log" | head -n 5 >&2 || true
        echo "  inputs kept in $out/findings/$name" >&2
    fi
done
[ "$total_findings" -eq 0 ]
