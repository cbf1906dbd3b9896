#!/usr/bin/env bash
# The main job: the tool against the CAD host simulator under Wine, with Execute clicked by real
# input and the simulator's scripted user answering. Face-centre mode on two shapes, then a
# continuous region run over two regions ended with Esc. Prints, for each shape, what the tool
# showed and typed next to the exact values from the geometry, and leaves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/${TAVRO_BUILD_DIR:-win64}"

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j "${TAVRO_JOBS:-2}" --target Tavro cadsim tavroprobe

DESKTOP_BIN="$build/bin"
. "$root/scripts/wine-env.sh"
. "$root/scripts/desktop.sh"
wine_env_up
trap wine_env_down EXIT

drawing="$DESKTOP_BIN/samples/regions.txt"
# The user clicks inside the square and the triangle, then selects two regions; the pause lets
# the labels of the first region be read before the second pass shows its own.
user="$root/build/main-job-user.txt"
printf '%s\n' "pick 80,70" "pick 130,10" "select 20,15" "enter" "wait 1500" "select 80,10" "enter" \
    "esc at オブジェクトを選択" >"$user"
start_sim --drawing "$(windows_path "$drawing")" --user "$(windows_path "$user")" || exit 1
start_exe "$DESKTOP_BIN/Tavro.exe"
tavro_pid=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null || { echo "run: the tool did not open its window" >&2; exit 1; }
type_size 10

# Area, perimeter and centroid of the innermost closed shape of the drawing around a point, from
# its corners (shoelace formulas).
exact() {
    awk -v px="$1" -v py="$2" '
        $1 == "polyline" || $1 == "region" {
            n = 0
            for (i = 2; i <= NF; i++) { split($i, c, ","); x[n] = c[1]; y[n] = c[2]; n++ }
            if (x[0] == x[n - 1] && y[0] == y[n - 1]) n--
            inside = 0
            j = n - 1
            for (i = 0; i < n; i++) {
                if (((y[i] > py) != (y[j] > py)) && (px < (x[j] - x[i]) * (py - y[i]) / (y[j] - y[i]) + x[i]))
                    inside = !inside
                j = i
            }
            if (!inside) next
            a = 0; cx = 0; cy = 0; p = 0
            for (i = 0; i < n; i++) {
                j = (i + 1) % n
                cross = x[i] * y[j] - x[j] * y[i]
                a += cross; cx += (x[i] + x[j]) * cross; cy += (y[i] + y[j]) * cross
                p += sqrt((x[j] - x[i]) ^ 2 + (y[j] - y[i]) ^ 2)
            }
            a /= 2; cx /= 6 * a; cy /= 6 * a; if (a < 0) a = -a
            if (best == "" || a < bestArea) { bestArea = a; best = sprintf("%.4f %.4f %.4f,%.4f", a, p, cx, cy) }
        }
        END { print best }' "$drawing"
}

results=()
record() {
    local what=$1 px=$2 py=$3 circle
    circle=$(sim_circles | tail -n 1)
    results+=("$what|$(probe text "$TITLE" $ID_LABEL1)|$(probe text "$TITLE" $ID_LABEL2)|${circle% *}|$(exact "$px" "$py")")
}

# Face-centre mode: the scripted user clicks inside the square, then inside the triangle.
run_execute
record "face centre, square" 80 70
run_execute
record "face centre, triangle" 130 10

# Region mode, continuous: two regions, then Esc at the third selection prompt.
click_control "$TITLE" $ID_FACE_CENTRE
click_control "$TITLE" $ID_CONTINUOUS
click_control "$TITLE" $ID_EXECUTE
for _ in $(seq 1 100); do [ "$(sim_circles | wc -l)" -ge 3 ] && break; sleep 0.1; done
record "region, rectangle" 20 15
for _ in $(seq 1 100); do [ "$(sim_circles | wc -l)" -ge 4 ] && break; sleep 0.1; done
for _ in $(seq 1 100); do [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
record "region, triangle" 80 10
sleep 0.5

mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/main-job.png"
import -window root "$shot"

printf '\n%-22s | %-22s | %-20s | %s\n' "shape" "shown: area, perimeter" "typed: centroid" "exact: area, perimeter, centroid"
for row in "${results[@]}"; do
    IFS='|' read -r what area perimeter typed exact_values <<<"$row"
    printf '%-22s | %-22s | %-20s | %s\n' "$what" "$area $perimeter" "$typed" "$exact_values"
done
echo
echo "FILEDIA in the simulator after the runs: $(sim_filedia)"
echo "screenshot: $shot"

probe close "$TITLE" >/dev/null
stop_sim
wait_exit "$tavro_pid" 10 || { echo "run: the tool did not close by itself" >&2; exit 1; }
