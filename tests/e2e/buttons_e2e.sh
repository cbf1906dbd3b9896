#!/usr/bin/env bash
# The main window's gradient buttons under real input: their face on the screen, Execute clicked
# with the user's pick a real click in the drawing while the run waits, Tab and Enter, and Close.
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-buttons.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroButtons.exe"
start_exe "$work/TavroButtons.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
sleep 0.5

# Pixel rows of one column of a control in a screenshot: "row r g b" per line.
column_rows() {
    local id=$1 column=$2 left top width height
    read -r left top width height <<<"$(probe bounds "$TITLE" "$id")"
    import -window root "$work/shot.png"
    convert "$work/shot.png" -crop "1x${height}+$((left + column))+${top}" +repage -depth 8 txt:- |
        sed -n 's/^0,\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p'
}

# The face between the frame's two-pixel edges follows the gradient from white to RGB(192, 220, 192)
# over the button's 26 rows, within one step per channel.
green_face() {
    column_rows "$1" 4 | awk '
        function expect(from, to, row) { return from + int((to - from) * row / 25) }
        $1 >= 2 && $1 <= 23 {
            checked++
            d1 = $2 - expect(255, 192, $1); d2 = $3 - expect(255, 220, $1); d3 = $4 - expect(255, 192, $1)
            if (d1 < -1 || d1 > 1 || d2 < -1 || d2 > 1 || d3 < -1 || d3 > 1) { print "row " $1 ": " $2 "," $3 "," $4; bad++ }
            if ($1 == 12 && !($2 == 225 && $3 == 239 && $4 == 225)) { print "row 12: " $2 "," $3 "," $4; bad++ }
        }
        END { exit !(checked == 22 && bad == 0) }'
}
check "Execute shows the green gradient" green_face $ID_EXECUTE
check "Close shows the green gradient" green_face $ID_CLOSE

# Where a drawing point is on the screen, from the simulator's ready file.
drawing_point() {
    local ready
    ready="$(dirname "$SIM_LOG_RAW")/ready.txt"
    tr -d '\r' <"$ready" | awk -F'[=,]' -v x="$1" -v y="$2" '
        $1 == "DrawingArea" { left = $2; bottom = $5 }
        $1 == "View" { scale = $2; ox = $3; oy = $4 }
        END { printf "%d %d\n", left + ox + x * scale + 0.5, bottom - oy - y * scale + 0.5 }'
}

# The user's pick as a real click in the drawing, repeated until the host takes it (it ignores
# clicks until the pick command is waiting).
pick_with_mouse() {
    local xy i
    xy=$(drawing_point "$1" "$2")
    for i in $(seq 1 40); do
        # shellcheck disable=SC2086
        xdotool mousemove $xy click 1
        sleep 0.3
        sim_log | grep 'mouse click' | grep -qv ignored && return 0
        sleep 0.2
    done
    return 1
}

wait_run_end() {
    local i
    for i in $(seq 1 200); do
        [ "$(probe iconic "$TITLE")" = 0 ] && return 0
        sleep 0.2
    done
    return 1
}

# Execute by a real click; the run minimises the window and waits for the pick, which is a real
# click in the simulator's drawing: the button has let go of the mouse.
type_size 50
start_sim --drawing "$(windows_path "$samples/rectangle.txt")"
click_control "$TITLE" $ID_EXECUTE
check "a real click in the drawing is taken as the pick while the run waits" pick_with_mouse 30 35
check "the run ends" wait_run_end
check_eq "the circle at the picked rectangle's centroid" "30.0000,35.0000 50.0000" "$(sim_circles)"
stop_sim

# Tab from the size box: continuous, Close, Execute; Enter starts a run.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" \
    --user "$(printf 'pick 10,10\n' >"$work/user.txt"; windows_path "$work/user.txt")"
type_size 50
xdotool key Tab
sleep 0.2
xdotool key Tab
sleep 0.2
check_eq "Tab reaches Close after the continuous box" $ID_CLOSE "$(probe focus "$TITLE")"
xdotool key Tab
sleep 0.2
check_eq "Tab reaches Execute next" $ID_EXECUTE "$(probe focus "$TITLE")"
xdotool key Return
sleep 1
check "Enter on Execute ran a face-centre run" wait_run_end
check_eq "Enter: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
stop_sim

# Close saves the size and ends the program.
type_size 77
click_control "$TITLE" $ID_CLOSE
check "Close ends the program" wait_exit "$TAVRO_PID" 10
check_eq "Close saved the size" "大きさ=77" \
    "$(iconv -f CP932 -t UTF-8 "$(unix_path "$(probe appdata)")/Halvetra/TavroButtons.Ini" | tr -d '\r' | grep 大きさ)"
rm -rf "$work"
