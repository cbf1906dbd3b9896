#!/usr/bin/env bash
# The real exe on a display at 150 % (LogPixels 144, read when a process starts): the window and
# its controls come out scaled, and a real click at the scaled Execute runs face centre.
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"
work=$(mktemp -d "$E2E_BIN/../e2e-display.XXXX")
desktop_key='HKCU\Control Panel\Desktop'

set_log_pixels() { wine reg add "$desktop_key" /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
# Whatever happens, the prefix goes back to 100 % for the scripts after this one.
trap 'status=$?; set_log_pixels 96; rm -rf "$work"; (exit $status); e2e_finish' EXIT
cp "$E2E_BIN/Tavro.exe" "$work/TavroDisplay.exe"

# Bad display settings: below 100 % the design as it is; 500 % scaled and still on the screen;
# a value that is no number leaves Wine's default, and the window starts all the same.
execute_width_at() {
    local width pid
    start_exe "$work/TavroDisplay.exe"
    pid=$STARTED_PID
    probe wait "$TITLE" 20000 >/dev/null
    read -r _ _ width _ <<<"$(probe bounds "$TITLE" "$ID_EXECUTE")"
    read -r left top w h <<<"$(probe bounds "$TITLE" 0)"
    screen=$(xdotool getdisplaygeometry)
    probe close "$TITLE" >/dev/null
    wait_exit "$pid" 10
    [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ $((left + w)) -le "${screen% *}" ] && [ $((top + h)) -le "${screen#* }" ] &&
        echo "$width"
}
set_log_pixels 72
check_eq "LogPixels 72: Execute as designed" 57 "$(execute_width_at)"
set_log_pixels 480
check_eq "LogPixels 480: Execute at 500 %, the window on the screen" 285 "$(execute_width_at)"
wine reg add "$desktop_key" /v LogPixels /t REG_SZ /d abc /f >/dev/null 2>&1
check "LogPixels that is no number: the window starts on the screen" test -n "$(execute_width_at)"

set_log_pixels 144
start_exe "$work/TavroDisplay.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
sleep 0.5

# Execute is designed at 144, 32, 57 x 26: at 150 % 216, 48, 86 x 39 (within a pixel).
scaled_execute() {
    local left top width height frame_left frame_top
    read -r left top width height <<<"$(probe bounds "$TITLE" "$ID_EXECUTE")"
    read -r frame_left frame_top _ _ <<<"$(probe bounds "$TITLE" "$ID_FACE_CENTRE")"
    # Relative to the face-centre box, designed at 8, 32: 136 and 0 design pixels away.
    [ $((left - frame_left)) -ge 203 ] && [ $((left - frame_left)) -le 205 ] && [ "$top" -eq "$frame_top" ] &&
        [ "$width" -ge 85 ] && [ "$width" -le 86 ] && [ "$height" -ge 38 ] && [ "$height" -le 40 ]
}
check "Execute is laid out at 150 %" scaled_execute

mkdir -p "$E2E_BIN/../screenshots"
import -window root "$E2E_BIN/../screenshots/display-150.png"

start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script 'pick 30,35')"
type_size 50
click_control "$TITLE" $ID_EXECUTE
wait_run_end() {
    local i
    for i in $(seq 1 200); do
        [ -n "$(sim_circles)" ] && [ "$(probe iconic "$TITLE")" = 0 ] && return 0
        sleep 0.2
    done
    return 1
}
check "a real click at the scaled Execute ran face centre" wait_run_end
check_eq "the circle at the rectangle's centroid" "30.0000,35.0000 50.0000" "$(sim_circles)"
stop_sim
click_control "$TITLE" $ID_CLOSE
check "Close at its scaled place ends the program" wait_exit "$TAVRO_PID" 10
