#!/usr/bin/env bash
# The real exe against the simulator with real clicks on Execute: face-centre and region mode.
# Usage: workflows_e2e.sh <bin folder> unicode|ansi inside|after
. "$(dirname "$0")/lib.sh" "$1"
kind=${2:-unicode}
input=${3:-inside}
sim_options=(--input "$input")
[ "$kind" = ansi ] && sim_options+=(--ansi)
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-flow.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroFlow.exe"
start_exe "$work/TavroFlow.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
type_size 50

# The centroid of the report the simulator wrote last, as printed: "x,y".
report_centroid() {
    local path
    path=$(sim_log | sed -n 's/.*report written bytes=[0-9]* path=\(.*\)$/\1/p' | tail -n 1)
    [ -n "$path" ] || return 0
    iconv -f CP932 -t UTF-8 "$(unix_path "$path")" | tr -d '\r' | awk '
        found == 1 { sub(/.*Y:/, ""); gsub(/^[ \t]+|[ \t]+$/, ""); y = $0; found = 2 }
        found == 0 && /図心/ { sub(/.*X:/, ""); gsub(/^[ \t]+|[ \t]+$/, ""); x = $0; found = 1 }
        END { if (found) print x "," y }'
}

report_value() {
    local label=$1 path
    path=$(sim_log | sed -n 's/.*report written bytes=[0-9]* path=\(.*\)$/\1/p' | tail -n 1)
    iconv -f CP932 -t UTF-8 "$(unix_path "$path")" | tr -d '\r' | awk -v label="$label" '
        index($0, label) == 1 { sub(/^[^:]*:/, ""); gsub(/^[ \t]+|[ \t]+$/, ""); print; exit }'
}

near() {
    awk -v a="$1" -v b="$2" -v by="${3:-0.0001}" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= by) }'
}

# A report's value as the user's own four places show it.
four_places() { awk -v v="$1" 'BEGIN { printf "%.4f", v }'; }

# One face-centre run on a shape: the new circle sits at the report's centroid digits (eight
# places), within 1e-6 of the exact centroid, and the labels show the report's area and perimeter
# at the user's four places.
face_centre_on() {
    local name=$1 exact_x=$2 exact_y=$3 before after circle centroid
    before=$(sim_circles | wc -l)
    run_execute
    after=$(sim_circles | wc -l)
    circle=$(sim_circle_exact)
    centroid=$(report_centroid)
    if [ "$input" = after ] && [ "$after" = "$before" ]; then
        # A host that handles input after the send may leave a run without a circle; never a wrong one.
        check_eq "$name: no circle, and none at a wrong place" "$before" "$after"
        return
    fi
    check_eq "$name: one circle more" $((before + 1)) "$after"
    check "$name: circle x at the report's centroid digits ($circle, $centroid)" \
        near "${circle%%,*}" "${centroid%,*}" 0.000000005
    check "$name: circle y at the report's centroid digits" near "$(echo "${circle#*,}" | cut -d' ' -f1)" \
        "${centroid#*,}" 0.000000005
    check_eq "$name: radius 50" 50 "${circle##* }"
    check "$name: centroid within 1e-6 of $exact_x,$exact_y" \
        near "${centroid%,*}" "$exact_x" 0.000001
    check "$name: centroid y within 1e-6" near "${centroid#*,}" "$exact_y" 0.000001
    if [ "$input" = inside ]; then
        check_eq "$name: area label at the user's places" "$(four_places "$(report_value 面積)")" \
            "$(probe text "$TITLE" $ID_LABEL1)"
        check_eq "$name: perimeter label at the user's places" "$(four_places "$(report_value 周囲)")" \
            "$(probe text "$TITLE" $ID_LABEL2)"
    fi
    check_eq "$name: FILEDIA is 1 again" 1 "$(sim_filedia)"
}

# Face-centre mode on every sample shape; the second run on a drawing replaces the report.
face_centre_sample() {
    local file=$1
    shift
    local picks=()
    local i
    for ((i = 1; i <= $#; i += 4)); do picks+=("pick ${!i}"); done
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/$file")" --user "$(user_script "${picks[@]}")"
    local runs=$(($# / 4))
    while [ $# -gt 0 ]; do
        face_centre_on "$file $2" "$3" "$4"
        shift 4
    done
    if [ "$runs" -gt 1 ] && [ "$input" = inside ]; then
        # Every run since start-up writes the same report path; the later ones replace it.
        check_eq "$file: each run wrote the one report path" 1 \
            "$(sim_log | sed -n 's/.*report written bytes=[0-9]* path=//p' | sort -u | wc -l)"
        check_eq "$file: the replace question was answered" "$runs" "$(sim_log | grep -c 'report written')"
    fi
    stop_sim
}

face_centre_sample rectangle.txt 30,35 first 30 35 10,10 second 30 35
face_centre_sample triangle.txt 5,5 "" 10 13.333333333
face_centre_sample l_shape.txt 10,70 "" 20 30
face_centre_sample island.txt 30,30 inner 35 30 80,80 outer 50 50
face_centre_sample far_negative.txt 1000040,-1000025 rectangle 1000040 -1000025 \
    1000110,-1000060 triangle 1000120 -1000076.666666667

if [ "$input" = inside ]; then
    # Esc at the pick: nothing but the pick command goes out, and the drawing is unchanged.
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "esc at 点を指定")"
    run_execute
    check_eq "cancelled pick: no circle" "" "$(sim_circles)"
    check_eq "cancelled pick: nothing created" "" "$(sim_log | grep 'entity created')"
    check_eq "cancelled pick: FILEDIA untouched" 1 "$(sim_filedia)"
    stop_sim

    # A size of blanks is no radius: the conversion error, nothing typed, the window as it was.
    type_size "   "
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "pick 30,35")"
    click_control "$TITLE" $ID_EXECUTE
    check_eq "size of blanks: the error box" "'   ' は浮動小数点数ではありません." "$(probe msgbox "$TITLE" 10000)"
    probe answer "$TITLE" 5000 >/dev/null
    sleep 0.5
    check_eq "size of blanks: nothing typed" "" "$(sim_log | grep '^copydata' || true)"
    check_eq "size of blanks: window not minimised" 0 "$(probe iconic "$TITLE")"
    type_size 50

    # An empty size: the message, and nothing typed.
    sent=$(sim_log | grep -c '^copydata' || true)
    type_size ""
    click_control "$TITLE" $ID_EXECUTE
    check_eq "empty size: the message" "円の大きさが入力されていません" "$(probe msgbox "$TITLE" 10000)"
    probe answer "$TITLE" 5000 >/dev/null
    sleep 0.5
    check_eq "empty size: nothing typed" "$sent" "$(sim_log | grep -c '^copydata' || true)"

    # "abc" in region mode: the conversion error, and nothing typed.
    type_size abc
    click_control "$TITLE" $ID_FACE_CENTRE  # face centre off: region mode
    click_control "$TITLE" $ID_EXECUTE
    check_eq "abc in region mode: the error box" "'abc' は浮動小数点数ではありません." "$(probe msgbox "$TITLE" 10000)"
    probe answer "$TITLE" 5000 >/dev/null
    sleep 0.5
    check_eq "abc in region mode: nothing typed" "$sent" "$(sim_log | grep -c '^copydata' || true)"
    check_eq "abc in region mode: window not minimised" 0 "$(probe iconic "$TITLE")"
    click_control "$TITLE" $ID_FACE_CENTRE  # face centre on again
    type_size 50
    stop_sim

    # No CAD program: nothing happens, the window stays as it is.
    run_execute
    check_eq "no CAD: window normal" 0 "$(probe iconic "$TITLE")"

    # The simulator closed while the run waits for the pick.
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")"
    click_control "$TITLE" $ID_EXECUTE
    sleep 1.5
    check_eq "closed during a wait: the run waits, minimised" 1 "$(probe iconic "$TITLE")"
    stop_sim
    for i in $(seq 1 50); do [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
    check_eq "closed during a wait: window restored" 0 "$(probe iconic "$TITLE")"
fi

# Region mode once, then continuously until Esc.
click_control "$TITLE" $ID_FACE_CENTRE  # face centre off
start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/regions.txt")" \
    --user "$(user_script "select 20,15" "enter" "select 80,10" "enter" "esc at オブジェクトを選択")"
run_execute
check_eq "region once: one circle at the region's centroid" "20.0000,15.0000 50.0000" "$(sim_circles)"
check_eq "region once: area label with two decimals" "1200.00" "$(probe text "$TITLE" $ID_LABEL1)"
check_eq "region once: perimeter label with two decimals" "140.00" "$(probe text "$TITLE" $ID_LABEL2)"
check_eq "region once: FILEDIA is 1 again" 1 "$(sim_filedia)"
click_control "$TITLE" $ID_CONTINUOUS  # continuous on
run_execute
check_eq "continuous: circles until Esc" $'20.0000,15.0000 50.0000\n80.0000,10.0000 50.0000' "$(sim_circles)"
check_eq "continuous: FILEDIA is 1 after Esc" 1 "$(sim_filedia)"
check_eq "continuous: window restored" 0 "$(probe iconic "$TITLE")"
click_control "$TITLE" $ID_CONTINUOUS
click_control "$TITLE" $ID_FACE_CENTRE
stop_sim

if [ "$input" = inside ]; then
    # Close while a region pass waits for the selection: the run ends at its next poll, file
    # dialogs are switched back on, the size is saved and the program ends.
    click_control "$TITLE" $ID_FACE_CENTRE
    type_size 42
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/regions.txt")"
    click_control "$TITLE" $ID_EXECUTE
    sleep 1
    check_eq "close during a run: the run was waiting" 0 "$(sim_filedia)"
    probe close "$TITLE" >/dev/null
    check "close during a run: the program ends" wait_exit "$TAVRO_PID" 10
    check_eq "close during a run: FILEDIA is 1 again" 1 "$(sim_filedia)"
    check_eq "close during a run: the size is saved" "大きさ=42" \
        "$(iconv -f CP932 -t UTF-8 "$(unix_path "$(probe appdata)")/Halvetra/TavroFlow.Ini" | tr -d '\r' | grep 大きさ)"
    stop_sim
else
    probe close "$TITLE" >/dev/null
    check "the tool closes" wait_exit "$TAVRO_PID" 10
fi

# Real input wakes a waiting run. The benchmark build writes, at each change, how many raw input
# devices its process has registered (no other process can read that): 2 while a run waits for the
# user, 0 once it is over.
if [ "$input" = inside ]; then
    cp "$E2E_BIN/TavroBannerBench.exe" "$work/TavroInput.exe"
    raw_log="$work/raw-input.txt"
    TAVRO_RAW_INPUT_LOG=$(windows_path "$raw_log") start_exe "$work/TavroInput.exe"
    probe wait "$TITLE" 20000 >/dev/null
    type_size 50
    # A drawing point as "x y" on the screen, from the simulator's ready file.
    screen_point() {
        tr -d '\r' <"$(dirname "$SIM_LOG_RAW")/ready.txt" | awk -F'[=,]' -v x="$1" -v y="$2" '
            $1 == "DrawingArea" { left = $2; bottom = $5 } $1 == "View" { s = $2; ox = $3; oy = $4 }
            END { printf "%d %d\n", left + ox + x * s + 0.5, bottom - oy - y * s + 0.5 }'
    }
    wait_prompt() { for i in $(seq 1 100); do [[ "$(sim_prompt)" == "$1"* ]] && return 0; sleep 0.1; done; }
    # Starts a run, gives the user's input at the prompt, waits for the run's end.
    by_user() {
        local prompt=$1 before
        shift
        before=0
        [ ! -f "$raw_log" ] || before=$(wc -l <"$raw_log")
        click_control "$TITLE" $ID_EXECUTE
        wait_prompt "$prompt"
        sleep 0.3
        xdotool "$@"
        for i in $(seq 1 100); do [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.1; done
        sleep 0.3
        RAW_SEEN=$(tail -n +"$((before + 1))" "$raw_log" | tr '\n' ' ')
    }
    raw_input_over() { check_eq "$1: raw input registered while waiting, none left" "2 0 " "$RAW_SEEN"; }

    start_sim --drawing "$(windows_path "$samples/rectangle.txt")"
    by_user 点を指定 mousemove $(screen_point 30 35) click 1
    check_eq "pick by mouse: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
    raw_input_over "pick by mouse"
    by_user 点を指定 type --delay 20 "10,10"$'\r'
    check_eq "point typed at the prompt: the circle" 2 "$(sim_circles | wc -l)"
    raw_input_over "point typed at the prompt"
    by_user 点を指定 key Escape
    check_eq "Esc at the pick: no circle more" 2 "$(sim_circles | wc -l)"
    raw_input_over "Esc at the pick"
    stop_sim

    click_control "$TITLE" $ID_FACE_CENTRE # face centre off
    start_sim --drawing "$(windows_path "$samples/regions.txt")"
    by_user オブジェクトを選択 mousemove $(screen_point 20 15) click 1 sleep 0.3 key Return
    check_eq "selection: the circle" "20.0000,15.0000 50.0000" "$(sim_circles)"
    raw_input_over "selection"
    click_control "$TITLE" $ID_CONTINUOUS
    by_user オブジェクトを選択 mousemove $(screen_point 80 10) click 1 sleep 0.3 key Return sleep 1.5 key Escape
    check_eq "continuous pass: one circle more" 2 "$(sim_circles | wc -l)"
    raw_input_over "continuous pass"
    stop_sim

    # One U takes back a whole run, and each pass of continuous mode on its own; the user's own
    # last object stays for the next U. No run leaves its undo group open.
    click_control "$TITLE" $ID_CONTINUOUS # continuous off
    click_control "$TITLE" $ID_FACE_CENTRE # face centre on
    # The live objects of the drawing, from what the simulator loaded, made, removed and restored.
    sim_drawing() {
        sim_log | awk '/entity (loaded|created|restored) id=/ { sub(/.*entity [a-z]+ /, ""); id = $1; live[id] = $0 }
            /entity removed id=/ { sub(/.*entity removed /, ""); delete live[$1] }
            END { for (id in live) print live[id] }' | sort
    }
    # Typed at the simulator's command line as the user would; waits for the log to show $2 once more.
    user_types() {
        local before
        before=$(sim_log | grep -c "$2" || true)
        xdotool mousemove $(screen_point 30 35) click 1 sleep 0.3 type --delay 20 "$1"$'\r'
        for i in $(seq 1 100); do [ "$(sim_log | grep -c "$2" || true)" -gt "$before" ] && return 0; sleep 0.1; done
    }
    groups_closed() {
        check_eq "$1: $2 undo groups, none left open" "$2 end" \
            "$(sim_log | grep -c 'undo begin$' || true) $(sim_log | sed -n 's/.*undo \(begin\|end\)$/\1/p' | tail -n 1)"
    }
    start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
    loaded=$(sim_drawing)
    user_types "CIRCLE 200,200 5" "entity created"
    before=$(sim_drawing)
    run_execute
    check_eq "face centre: the run drew its circle" "30.0000,35.0000 50.0000" "$(sim_circles | tail -n 1)"
    groups_closed "face centre" 1
    user_types U "undo back"
    check_eq "face centre, one U: the drawing as before the run" "$before" "$(sim_drawing)"
    user_types U "undo back"
    check_eq "face centre, next U: the user's circle goes" "$loaded" "$(sim_drawing)"
    stop_sim

    click_control "$TITLE" $ID_FACE_CENTRE # face centre off
    start_sim --drawing "$(windows_path "$samples/regions.txt")" \
        --user "$(user_script "select 20,15" "enter" "select 20,15" "enter" "select 80,10" "enter" "esc at オブジェクトを選択")"
    before=$(sim_drawing)
    run_execute
    groups_closed "region pass" 1
    # A region pass measures the user's own regions as they are: it makes and removes nothing but its circle.
    check_eq "region pass: the user's objects untouched, one circle more" "$before 1" \
        "$(sim_drawing | grep -v 'type=circle') $(sim_circles | wc -l)"
    user_types U "undo back"
    check_eq "region pass, one U: its circle goes, the drawing as before" "$before" "$(sim_drawing)"
    click_control "$TITLE" $ID_CONTINUOUS # continuous on
    taken=$(sim_log | grep -c 'undo back' || true)
    run_execute
    groups_closed "continuous" 4
    # The pass ended by Esc drew nothing: the run takes its group back, so no U is spent on it.
    check_eq "continuous: the pass ended by Esc left no undo step" "$((taken + 1)) GROUP" \
        "$(sim_log | grep -c 'undo back' || true) $(sim_log | sed -n 's/.*undo back //p' | tail -n 1)"
    user_types U "undo back"
    check_eq "continuous, one U: the second pass goes" "20.0000,15.0000 50.0000" \
        "$(sim_drawing | sed -n 's/.*type=circle center=\([^ ]*\) radius=\([^ ]*\).*/\1 \2/p')"
    user_types U "undo back"
    check_eq "continuous, next U: the first pass goes" "$before" "$(sim_drawing)"
    stop_sim

    # Undo control None: both modes draw their circles without a group, and None stays.
    click_control "$TITLE" $ID_CONTINUOUS # continuous off
    for mode in region face-centre; do
        steps=("select 20,15" "enter")
        [ "$mode" = face-centre ] && click_control "$TITLE" $ID_FACE_CENTRE && steps=("pick 80,70")
        start_sim --undo-control none --drawing "$(windows_path "$samples/regions.txt")" \
            --user "$(user_script "${steps[@]}")"
        run_execute
        check_eq "control None, $mode: the circle" 1 "$(sim_circles | wc -l)"
        check_eq "control None, $mode: no group, control still None" "0 none" \
            "$(sim_log | grep -c 'undo begin$' || true) $(sim_log | sed -n 's/.*undo control=//p' | tail -n 1)"
        check_eq "control None, $mode: the command line idle" "コマンド: " "$(sim_prompt)"
        stop_sim
    done
    probe close "$TITLE" >/dev/null
fi
rm -rf "$work"
