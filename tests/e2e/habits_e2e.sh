#!/usr/bin/env bash
# Users' habits and the system's events, with the real exe, the simulator and real input: no CAD
# program at all, sizes the CAD program refuses, double and triple clicks on Execute, a click and
# the pointer away at once, a user's FILEDIA of 0, the session
# ending during a run and when idle, a clipboard owner that hangs, a work folder too long for the
# commands, a comma decimal symbol.
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-habits.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroHabits.exe"
appdata_windows=$(probe appdata)
ini="$(unix_path "$appdata_windows")/Halvetra/TavroHabits.Ini"

# The user's regional settings and application-data folder, put back however the script ends.
international='HKCU\Control Panel\International'
shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
restore_settings() {
    wine reg add "$international" /v sDecimal /d "." /f >/dev/null 2>&1 || true
    wine reg add "$international" /v sThousand /d "," /f >/dev/null 2>&1 || true
    wine reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "$appdata_windows" /f >/dev/null 2>&1 || true
}
trap 'status=$?; restore_settings; (exit $status); e2e_finish' EXIT

start_tool() {
    start_exe "$work/TavroHabits.exe"
    TAVRO_PID=$STARTED_PID
    probe wait "$TITLE" 20000 >/dev/null
}

close_tool() {
    probe close "$TITLE" >/dev/null
    wait_exit "$TAVRO_PID" 10
}

wait_prompt() {
    local i
    for i in $(seq 1 100); do
        case "$(sim_prompt)" in "$1"*) return 0 ;; esac
        sleep 0.2
    done
    return 1
}
ini_size() { iconv -f CP932 -t UTF-8 "$ini" 2>/dev/null | tr -d '\r' | sed -n 's/^大きさ=//p'; }

# Execute with no CAD program: a balloon tip on the button, no box, the window as it was; it goes
# at the next key.
start_tool
click_control "$TITLE" $ID_EXECUTE
check_eq "no CAD: the tip is shown" 1 "$(probe tip "$TITLE")"
check_eq "no CAD: window not minimised" 0 "$(probe iconic "$TITLE")"
xdotool key shift
sleep 0.5
check_eq "no CAD: the tip goes at the next key" 0 "$(probe tip "$TITLE")"

# Sizes the CAD program would not take as a radius: refused before anything is typed.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
for size in 0 -5 1e999 D; do
    case "$size" in 0 | -5) message="'$size' は正の数ではありません." ;; *) message="'$size' は浮動小数点数ではありません." ;; esac
    type_size "$size"
    click_control "$TITLE" $ID_EXECUTE
    check_eq "size $size: the error box" "$message" "$(probe msgbox "$TITLE" 10000)"
    probe answer "$TITLE" 5000 >/dev/null
    sleep 0.5
    check_eq "size $size: nothing typed" 0 "$(typed_records)"
done
check_eq "refused sizes: the CAD program idle" "コマンド: " "$(sim_prompt)"
type_size 50
stop_sim

# A report with NaN for the area and the centroid: nothing of it is typed or shown, and the CAD
# program is idle at the end, in both modes (region mode shows the conversion error of the area).
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")" --report-fault nan
run_execute
check_eq "NaN report, face centre: no circle" "" "$(sim_circles)"
check_eq "NaN report, face centre: the area label empty" "" "$(probe text "$TITLE" $ID_LABEL1)"
check_eq "NaN report, face centre: the CAD program idle" "コマンド: " "$(sim_prompt)"
check_eq "NaN report, face centre: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
check_eq "NaN report, face centre: HPBOUND is 1 again" 1 "$(sim_var HPBOUND 1)"
stop_sim
start_sim --drawing "$(windows_path "$samples/regions.txt")" --user "$(user_script "select 20,15" enter)" \
    --report-fault nan
click_control "$TITLE" $ID_FACE_CENTRE  # region mode
click_control "$TITLE" $ID_EXECUTE
check_eq "NaN report, region: the conversion error" "'NaN' は浮動小数点数ではありません." "$(probe msgbox "$TITLE" 30000)"
probe answer "$TITLE" 5000 >/dev/null
sleep 0.5
check_eq "NaN report, region: no circle" "" "$(sim_circles)"
check_eq "NaN report, region: the CAD program idle" "コマンド: " "$(sim_prompt)"
check_eq "NaN report, region: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
check_eq "NaN report: nothing of it typed" 0 "$(sim_log | grep '^copydata' | grep -c NaN || true)"
click_control "$TITLE" $ID_FACE_CENTRE  # face centre again
stop_sim

# A double and a triple click on Execute: the further clicks land on the tool, never in the
# drawing as a pick; the run then takes the user's pick.
for clicks in 2 3; do
    start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
    # shellcheck disable=SC2046
    xdotool mousemove $(probe rect "$TITLE" $ID_EXECUTE) click --repeat "$clicks" --delay 120 1
    for i in $(seq 1 100); do [ -n "$(sim_circles)" ] && [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
    check_eq "$clicks clicks: one circle, at the picked shape's centroid" "30.0000,35.0000 50.0000" "$(sim_circles)"
    check_eq "$clicks clicks: no click reached the drawing" 0 "$(sim_log | grep -c 'mouse click' || true)"
    check_eq "$clicks clicks: one pick" 1 "$(sim_log | grep -c 'user pick' || true)"
    check_eq "$clicks clicks: the CAD program idle" "コマンド: " "$(sim_prompt)"
    stop_sim
done

# A click on Execute and the pointer on to the drawing at once: the run asks for the pick without
# waiting for the double-click time, and the click does not land in the drawing.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
# shellcheck disable=SC2046
xdotool mousemove $(probe rect "$TITLE" $ID_EXECUTE) click 1 mousemove_relative -- -150 120
for i in $(seq 1 100); do [ -n "$(sim_circles)" ] && [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
check_eq "click, then away: one circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
check_eq "click, then away: no click reached the drawing" 0 "$(sim_log | grep -c 'mouse click' || true)"
stop_sim

# A user who works with file dialogs off (FILEDIA 0) has them off after a run of each mode.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")" --var FILEDIA=0
run_execute
check_eq "FILEDIA 0, face centre: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
check_eq "FILEDIA 0, face centre: FILEDIA is 0 again" 0 "$(sim_var FILEDIA 0)"
stop_sim
start_sim --drawing "$(windows_path "$samples/regions.txt")" --user "$(user_script "select 20,15" enter)" --var FILEDIA=0
click_control "$TITLE" $ID_FACE_CENTRE # region mode
run_execute
check_eq "FILEDIA 0, region: the circle" "20.0000,15.0000 50.0000" "$(sim_circles)"
check_eq "FILEDIA 0, region: FILEDIA is 0 again" 0 "$(sim_var FILEDIA 0)"
click_control "$TITLE" $ID_FACE_CENTRE # face centre again
stop_sim

# The session ends during a selection wait: FILEDIA back, the CAD program idle, the size saved.
click_control "$TITLE" $ID_FACE_CENTRE  # region mode
type_size 12.5
start_sim --drawing "$(windows_path "$samples/regions.txt")"
click_control "$TITLE" $ID_EXECUTE
check "session end: the run waits for the selection" wait_prompt "オブジェクトを選択"
check_eq "session end: the tool agrees to end" 1 "$(probe endsession "$TITLE")"
wait_exit "$TAVRO_PID" 10 || true
sleep 1
check_eq "session end during a selection: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
check_eq "session end during a selection: the CAD program idle" "コマンド: " "$(sim_prompt)"
check_eq "session end during a selection: the size saved" "12.5" "$(ini_size)"
stop_sim

# The session ends during the report wait, with a host that stalls 400 ms at every line of input:
# what the tool typed when the session ended is still to be handled, and so is what it typed to
# put the settings back; once the host is through, FILEDIA and HPBOUND are back and it is idle.
start_tool
click_control "$TITLE" $ID_FACE_CENTRE  # face-centre mode (the box is not saved)
type_size 12.5
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")" \
    --input after --line-delay 400
click_control "$TITLE" $ID_EXECUTE
for i in $(seq 1 300); do [ "$(sim_var FILEDIA 1)" = 0 ] && break; sleep 0.1; done
check_eq "session end: the run measures, file dialogs off" 0 "$(sim_var FILEDIA 1)"
probe endsession "$TITLE" >/dev/null
wait_exit "$TAVRO_PID" 10 || true
for i in $(seq 1 150); do [ "$(sim_prompt)" = "コマンド: " ] && [ "$(sim_var FILEDIA 0)" = 1 ] && [ "$(sim_var HPBOUND 0)" = 1 ] && break; sleep 0.2; done
check_eq "session end during the report wait: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
check_eq "session end during the report wait: HPBOUND is 1 again" 1 "$(sim_var HPBOUND 1)"
check_eq "session end during the report wait: the CAD program idle" "コマンド: " "$(sim_prompt)"
check_eq "session end during the report wait: no circle" "" "$(sim_circles)"
check_eq "session end during the report wait: the size saved" "12.5" "$(ini_size)"
stop_sim

# The session ends while the tool is idle: the size saved.
start_tool
type_size 33
probe endsession "$TITLE" >/dev/null
wait_exit "$TAVRO_PID" 10 || true
check_eq "session end when idle: the size saved" "33" "$(ini_size)"

# A clipboard owner that hangs: the run stops silently before the clipboard is touched, the window
# is back within 3 s, Close works, the clipboard is as it was.
start_tool
click_control "$TITLE" $ID_FACE_CENTRE  # face-centre mode again (the box is not saved)
type_size 50
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
start_exe "$E2E_BIN/tavroprobe.exe" clip-hang 60000
sleep 2
owner_before=$(probe clip-owner)
started=$(date +%s%N)
click_control "$TITLE" $ID_EXECUTE
back=
for i in $(seq 1 100); do
    sleep 0.1
    [ "$(probe iconic "$TITLE")" = 0 ] && [ "$(probe text "$TITLE" $ID_EDIT1)" = 50 ] && { back=$(date +%s%N); break; }
done
echo "hung clipboard owner: the window was back after $(((${back:-0} - started) / 1000000)) ms"
check "hung clipboard owner: the window is back within 3 s" test -n "$back" -a $(((${back:-0} - started) / 1000000)) -lt 3000
check_eq "hung clipboard owner: no circle" "" "$(sim_circles)"
check_eq "hung clipboard owner: the clipboard as it was" "$owner_before" "$(probe clip-owner)"
check_eq "hung clipboard owner: the CAD program idle" "コマンド: " "$(sim_prompt)"
check "hung clipboard owner: Close works" close_tool
stop_sim
stop_started

# A work folder of 240 characters: the report path does not fit the commands; the error box names
# the folder and nothing is typed.
long_appdata="C:\\users\\$(printf 'x%.0s' $(seq 1 100))\\$(printf 'y%.0s' $(seq 1 120))"
long_folder="$long_appdata\\Halvetra\\"
check_eq "long work folder: 240 characters" 240 "${#long_folder}"
wine reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d "$long_appdata" /f >/dev/null 2>&1
mkdir -p "$(unix_path "$long_appdata")"
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
start_tool
click_control "$TITLE" $ID_EXECUTE
check_eq "long work folder: the error box" "作業フォルダ $long_folder のパスが長すぎます." "$(probe msgbox "$TITLE" 10000)"
probe answer "$TITLE" 5000 >/dev/null
sleep 0.5
check_eq "long work folder: nothing typed" 0 "$(typed_records)"
check_eq "long work folder: nothing drawn" "" "$(sim_log | grep 'entity created' || true)"
close_tool
restore_settings
stop_sim

# A comma decimal symbol with a full stop for digit grouping: the region run reads the report as
# the CAD program writes it and draws its circle; the labels use the user's symbol.
wine reg add "$international" /v sDecimal /d "," /f >/dev/null 2>&1
wine reg add "$international" /v sThousand /d "." /f >/dev/null 2>&1
start_sim --drawing "$(windows_path "$samples/regions.txt")" --user "$(user_script "select 20,15" enter)"
start_tool
click_control "$TITLE" $ID_FACE_CENTRE  # region mode
run_execute
check_eq "comma decimal symbol: the circle" "20.0000,15.0000 50.0000" "$(sim_circles)"
check_eq "comma decimal symbol: the area label" "1200,00" "$(probe text "$TITLE" $ID_LABEL1)"
check_eq "comma decimal symbol: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
close_tool
restore_settings
stop_sim
