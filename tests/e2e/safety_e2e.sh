#!/usr/bin/env bash
# The real exe against the simulator: nothing the user did not ask for changes in the drawing, the
# CAD settings or the clipboard, and the tool is never left stuck.
# Usage: safety_e2e.sh <bin folder> unicode|ansi inside|after
# With "after" only the outside picks and the work folder with a blank run.
. "$(dirname "$0")/lib.sh" "$1"
kind=${2:-unicode}
input=${3:-inside}
sim_options=(--input "$input")
[ "$kind" = ansi ] && sim_options+=(--ansi)
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-safety.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroSafety.exe"

start_tool() {
    start_exe "$work/TavroSafety.exe"
    TAVRO_PID=$STARTED_PID
    probe wait "$TITLE" 20000 >/dev/null
}

close_tool() {
    probe close "$TITLE" >/dev/null
    wait_exit "$TAVRO_PID" 10
}

entity_changes() { sim_log | grep -c 'entity created\|entity removed' || true; }

# A pick outside every closed area leaves every object, the labels and the settings as they were.
outside_pick() {
    local drawing=$1 first=$2 what=$3 changes circles
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/$drawing")" \
        --user "$(user_script ${first:+"pick $first"} "pick 500,500")"
    [ -z "$first" ] || run_execute
    changes=$(entity_changes)
    circles=$(sim_circles)
    run_execute
    check_eq "$what: the pick was made" 1 "$(sim_log | grep -c 'user pick 500.0000,500.0000')"
    check_eq "$what: no object created or removed" "$changes" "$(entity_changes)"
    check_eq "$what: no circle" "$circles" "$(sim_circles)"
    # Nothing was measured: nothing of an earlier shape is shown as this pick's.
    check_eq "$what: area label empty" "" "$(probe text "$TITLE" $ID_LABEL1)"
    check_eq "$what: perimeter label empty" "" "$(probe text "$TITLE" $ID_LABEL2)"
    check_eq "$what: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
    check_eq "$what: HPBOUND is 1 again" 1 "$(sim_var HPBOUND 1)"
    stop_sim
}

start_tool
type_size 50
outside_pick rectangle.txt 30,35 "outside pick after a first circle"
outside_pick regions.txt "" "outside pick with the user's polyline drawn last"

if [ "$input" = inside ]; then
    # Sizes that would type more than a radius: refused before anything is typed, in both modes.
    size_refused() {
        local shown=$1 what=$2 sent
        sent=$(typed_records)
        click_control "$TITLE" $ID_EXECUTE
        check_eq "$what: the error box" "'$shown' は浮動小数点数ではありません." "$(probe msgbox "$TITLE" 10000)"
        probe answer "$TITLE" 5000 >/dev/null
        sleep 0.5
        check_eq "$what: nothing typed" "$sent" "$(typed_records)"
        check_eq "$what: window not minimised" 0 "$(probe iconic "$TITLE")"
    }
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")"
    type_size "5 ERASE ALL"
    size_refused "5 ERASE ALL" "face centre, 5 ERASE ALL"
    click_control "$TITLE" $ID_FACE_CENTRE
    size_refused "5 ERASE ALL" "region, 5 ERASE ALL"
    click_control "$TITLE" $ID_FACE_CENTRE
    type_size 50
    check_eq "sizes: nothing created" "" "$(sim_log | grep 'entity created' || true)"
    stop_sim
    close_tool

    # A tab planted in the settings file (a tab cannot be typed into the box: it moves the focus).
    ini="$(unix_path "$(probe appdata)")/Halvetra/TavroSafety.Ini"
    mkdir -p "$(dirname "$ini")"
    printf '[\x8f\x89\x8a\xfa\x89\xbb]\r\n\x91\xe5\x82\xab\x82\xb3=5\t0\r\n' >"$ini"
    start_tool
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")"
    size_refused $'5\t0' "face centre, a tab from the settings file"
    click_control "$TITLE" $ID_FACE_CENTRE
    size_refused $'5\t0' "region, a tab from the settings file"
    click_control "$TITLE" $ID_FACE_CENTRE
    type_size 50
    stop_sim

    # Another program holds the clipboard right after the CAD program copied its history: the
    # run ends without a word and the user's text is back on the clipboard.
    probe clip-put "利用者のテキスト"
    start_sim "${sim_options[@]}" --hold-clipboard 1000 --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "pick 30,35")"
    run_execute
    check_eq "clipboard held: the simulator held it" 1 "$(sim_log | grep -c 'clipboard held')"
    check_eq "clipboard held: the user's text is back" "利用者のテキスト" "$(probe clip-get)"
    check_eq "clipboard held: no circle" "" "$(sim_circles)"
    check_eq "clipboard held: window restored" 0 "$(probe iconic "$TITLE")"
    stop_sim

    # A host that takes typed input 3 s late: the right circle or none, and the CAD program idle.
    late_options=(--input after --input-delay 3000)
    [ "$kind" = ansi ] && late_options+=(--ansi)
    start_sim "${late_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "pick 30,35")"
    run_execute
    circles=$(sim_circles)
    check "late host, face centre: the right circle or none" \
        test "$circles" = "" -o "$circles" = "30.0000,35.0000 50.0000"
    sleep 4
    check_eq "late host, face centre: the CAD program is idle" "コマンド: " "$(sim_prompt)"
    check_eq "late host, face centre: FILEDIA is 1" 1 "$(sim_var FILEDIA 1)"
    check_eq "late host, face centre: no undo group left open" "" \
        "$(sim_log | sed -n 's/.*undo \(begin\|end\)$/\1/p' | tail -n 1 | grep begin || true)"
    check_eq "late host, face centre: HPBOUND is 1" 1 "$(sim_var HPBOUND 1)"
    stop_sim
    click_control "$TITLE" $ID_FACE_CENTRE
    start_sim "${late_options[@]}" --drawing "$(windows_path "$samples/regions.txt")" \
        --user "$(user_script "select 20,15" "enter")"
    run_execute
    circles=$(sim_circles)
    check "late host, region: the right circle or none" test "$circles" = "" -o "$circles" = "20.0000,15.0000 50.0000"
    sleep 4
    check_eq "late host, region: the CAD program is idle" "コマンド: " "$(sim_prompt)"
    check_eq "late host, region: FILEDIA is 1" 1 "$(sim_var FILEDIA 1)"
    check_eq "late host, region: no undo group left open" "" \
        "$(sim_log | sed -n 's/.*undo \(begin\|end\)$/\1/p' | tail -n 1 | grep begin || true)"
    check_eq "late host, region: one report written, in the report path" 1 \
        "$(sim_log | grep -c 'report written.*Halvetra' || true)"
    stop_sim
    click_control "$TITLE" $ID_FACE_CENTRE
fi
close_tool

# A work folder whose path holds a blank, as under a Windows user name "Taro Yamada".
folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
cache='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders'
old_appdata=$(wine reg query "$folders" /v AppData 2>/dev/null | tr -d '\r' | sed -n 's/^ *AppData *REG_[A-Z_]* *//p')
old_cache=$(wine reg query "$cache" /v AppData 2>/dev/null | tr -d '\r' | sed -n 's/^ *AppData *REG_[A-Z_]* *//p')
restore_appdata() {
    wine reg add "$folders" /v AppData /t REG_EXPAND_SZ /d "$old_appdata" /f >/dev/null 2>&1
    wine reg add "$cache" /v AppData /d "$old_cache" /f >/dev/null 2>&1
}
# The prefix is shared by every test: it gets its folders back however this script ends.
trap 'status=$?; restore_appdata; (exit $status); e2e_finish' EXIT
spaced="$work/Taro Yamada/AppData/Roaming"
mkdir -p "$spaced"
wine reg add "$folders" /v AppData /t REG_EXPAND_SZ /d "$(windows_path "$spaced")" /f >/dev/null 2>&1
wine reg add "$cache" /v AppData /d "$(windows_path "$spaced")" /f >/dev/null 2>&1
check_eq "blank in the path: the application-data folder" "$(windows_path "$spaced")" "$(probe appdata)"
start_tool
type_size 50
restore_appdata
start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
run_execute
check_eq "blank in the path, face centre: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
check_eq "blank in the path, face centre: the report in the work folder" 1 \
    "$(sim_log | grep -c "report written.*Taro Yamada.*Halvetra.*\.mpr" || true)"
check_eq "blank in the path, face centre: nothing typed as a command" 0 "$(sim_log | grep -c '不明なコマンド' || true)"
stop_sim
click_control "$TITLE" $ID_FACE_CENTRE
start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/regions.txt")" \
    --user "$(user_script "select 20,15" "enter")"
run_execute
check_eq "blank in the path, region: the circle" "20.0000,15.0000 50.0000" "$(sim_circles)"
check_eq "blank in the path, region: the report in the work folder" 1 \
    "$(sim_log | grep -c "report written.*Taro Yamada.*Halvetra.*\.mpr" || true)"
stop_sim
click_control "$TITLE" $ID_FACE_CENTRE

if [ "$input" = inside ]; then
    # The CAD program is busy for a while at the pick (an autosave): the run waits for it and draws
    # its circle once the user picks.
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "freeze 6000 at 点を指定" "pick 30,35")"
    run_execute
    check_eq "busy CAD at the pick: the simulator was busy" 1 "$(sim_log | grep -c 'user freeze over')"
    check_eq "busy CAD at the pick: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
    check_eq "busy CAD at the pick: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
    check_eq "busy CAD at the pick: HPBOUND is 1 again" 1 "$(sim_var HPBOUND 1)"
    stop_sim
    # Busy for two seconds at each wait (the pick, the report) in both modes: the run survives each
    # pause and draws its circle.
    start_sim "${sim_options[@]}" --freeze-waits 2000 --drawing "$(windows_path "$samples/rectangle.txt")" \
        --user "$(user_script "pick 30,35")"
    run_execute
    check "busy at each wait, face centre: the simulator paused at each wait" \
        test "$(sim_log | grep -c 'host freeze over' || true)" -ge 2
    check_eq "busy at each wait, face centre: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
    check_eq "busy at each wait, face centre: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
    stop_sim
    click_control "$TITLE" $ID_FACE_CENTRE
    start_sim "${sim_options[@]}" --freeze-waits 2000 --drawing "$(windows_path "$samples/regions.txt")" \
        --user "$(user_script "select 20,15" "enter")"
    run_execute
    check_eq "busy at each wait, region: the circle" "20.0000,15.0000 50.0000" "$(sim_circles)"
    check_eq "busy at each wait, region: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
    stop_sim
    click_control "$TITLE" $ID_FACE_CENTRE
    # Busy at the selection, with FILEDIA off: the taskbar's Close takes the window away at once;
    # the program puts FILEDIA back once the simulator answers, then ends.
    click_control "$TITLE" $ID_FACE_CENTRE
    start_sim "${sim_options[@]}" --drawing "$(windows_path "$samples/regions.txt")" \
        --user "$(user_script "freeze 8000 at オブジェクトを選択")"
    click_control "$TITLE" $ID_EXECUTE
    for i in $(seq 1 50); do
        [ "$(sim_log | grep -c 'user freeze 8000')" = 1 ] && break
        sleep 0.2
    done
    check_eq "busy CAD at the selection: FILEDIA off meanwhile" 0 "$(sim_var FILEDIA 1)"
    closed_ms=$(probe close-time "$TITLE")
    check "busy CAD at the selection: Close took the window away within 300 ms ($closed_ms ms)" \
        test "${closed_ms:-99999}" -le 300
    check_eq "busy CAD at the selection: still busy when the window went" 0 "$(sim_log | grep -c 'user freeze over' || true)"
    check "busy CAD at the selection: the program ends once FILEDIA is back" wait_exit "$TAVRO_PID" 30
    check_eq "busy CAD at the selection: FILEDIA is 1 again" 1 "$(sim_var FILEDIA 1)"
    stop_sim
else
    close_tool
fi
rm -rf "$work"
