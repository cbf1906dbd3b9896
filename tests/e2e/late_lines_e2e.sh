#!/usr/bin/env bash
# The real exe against a simulator that takes typed input late, stalling before every line it
# types (after a record's leading Ctrl+C too, where it shows its idle prompt in the middle of the
# record): both workflows come to the right circle, and nothing else of the drawing changes;
# FILEDIA and HPBOUND are left as they were. Close while the report is awaited still ends the
# program with both put back.
# Usage: late_lines_e2e.sh <bin folder>
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-late.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroLate.exe"
start_exe "$work/TavroLate.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
type_size 50

# A late host still has lines to type when the run is over: wait until its log has been still for
# 3 s, longer than any stretch of lines it types without logging anything.
settled() {
    local size=-1 now i still=0
    for i in $(seq 1 300); do
        now=$(stat -c %s "$SIM_LOG_RAW")
        if [ "$now" = "$size" ]; then still=$((still + 1)); else still=0; fi
        [ "$still" -ge 6 ] && return 0
        size=$now
        sleep 0.5
    done
}

late_options() {
    local delay=$1
    if [ "$delay" = 0 ]; then echo --input after; else echo --input after --line-delay "$delay"; fi
}

for delay in 0 5 20 50 150 400; do
    # Region mode: no value is read back from the host but the report, so the circle must come.
    click_control "$TITLE" $ID_FACE_CENTRE # face centre off
    # shellcheck disable=SC2046
    start_sim $(late_options "$delay") --drawing "$(windows_path "$samples/regions.txt")" \
        --user "$(user_script "select 20,15" "enter")"
    run_execute
    settled
    check_eq "line delay $delay ms, region: the circle at the region's centroid" "20.0000,15.0000 50.0000" \
        "$(sim_circles)"
    check_eq "line delay $delay ms, region: FILEDIA is 1 again" 1 "$(sim_filedia)"
    check_eq "line delay $delay ms, region: window restored" 0 "$(probe iconic "$TITLE")"
    stop_sim

    # Face-centre mode, twice (the second run is asked to replace the report): the right circle or none.
    click_control "$TITLE" $ID_FACE_CENTRE # face centre on
    # shellcheck disable=SC2046
    start_sim $(late_options "$delay") --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "pick 30,35" "pick 10,10")"
    for run in first second; do
        before=$(sim_circles | wc -l)
        created=$(sim_log | grep -c 'entity created' || true)
        run_execute
        settled
        check_eq "line delay $delay ms, face centre $run: one circle more" $((before + 1)) "$(sim_circles | wc -l)"
        check_eq "line delay $delay ms, face centre $run: the circle at the centroid" "30.0000,35.0000 50.0000" \
            "$(sim_circles | tail -n 1)"
        check_eq "line delay $delay ms, face centre $run: only the region and the circle were made" $((created + 2)) \
            "$(sim_log | grep -c 'entity created' || true)"
        check_eq "line delay $delay ms, face centre $run: FILEDIA is 1 again" 1 "$(sim_filedia)"
        check_eq "line delay $delay ms, face centre $run: HPBOUND as it was" 1 "$(sim_var HPBOUND 1)"
        check_eq "line delay $delay ms, face centre $run: the host is idle" "コマンド: " \
            "$(probe prompt "$SIM_TITLE")"
    done
    stop_sim
done

# Close while the report is awaited from a host that stalls 400 ms at every line: the program ends,
# and the host, once it has typed what it still had, has file dialogs on again.
# shellcheck disable=SC2046
start_sim $(late_options 400) --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
click_control "$TITLE" $ID_EXECUTE
# The run asks about the drawing and sets its values first, each line 400 ms late.
for i in $(seq 1 400); do [ "$(sim_filedia)" = 0 ] && break; sleep 0.1; done
check_eq "close while the report is awaited: the run had switched file dialogs off" 0 "$(sim_filedia)"
probe close "$TITLE" >/dev/null
check "close while the report is awaited: the program ends" wait_exit "$TAVRO_PID" 15
settled
check_eq "close while the report is awaited: FILEDIA is 1 again" 1 "$(sim_filedia)"
check_eq "close while the report is awaited: HPBOUND as it was" 1 "$(sim_var HPBOUND 1)"
stop_sim
rm -rf "$work"
