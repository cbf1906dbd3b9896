#!/usr/bin/env bash
# The results list and the window's place, with the real exe against the simulator: two
# face-centre runs and a continuous region run of three passes give five rows, the system menu
# copies and renews the list, and the window opens where it was closed.
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-results.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroList.exe"
halvetra="$(unix_path "$(probe appdata)")/Halvetra"
list="$halvetra/TavroList.csv"
ini="$halvetra/TavroList.Ini"
rm -f "$list" "$halvetra"/TavroList-*.csv "$ini"

start_list() {
    start_exe "$work/TavroList.exe"
    TAVRO_PID=$STARTED_PID
    probe wait "$TITLE" 20000 >/dev/null
}

close_list() {
    probe close "$TITLE" >/dev/null
    wait_exit "$TAVRO_PID" 10
}

# Field n (from 1) of every data row; the rows here hold no quoted field.
column() {
    tail -n +2 "$list" | tr -d '\r' | cut -d, -f"$1"
}

near() {
    awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= 0.0001) }'
}

start_list
centred=$(probe bounds "$TITLE" 0 | cut -d' ' -f1,2)
type_size 50

# Two face-centre runs on the rectangle, and one between them cancelled at the pick, which adds nothing.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" \
    --user "$(user_script "pick 30,35" "esc at 点を指定" "pick 10,10")"
run_execute
run_execute
run_execute
face_circles=$(sim_circles | wc -l)
stop_sim

# A continuous region run of three passes, in a drawing whose name a spreadsheet would evaluate.
SIM_TITLE="AutoCAD 2024 - [=SUM(1+2)plan.dwg]"
click_control "$TITLE" $ID_FACE_CENTRE
click_control "$TITLE" $ID_CONTINUOUS
start_sim --title "$SIM_TITLE" --drawing "$(windows_path "$samples/regions.txt")" \
    --user "$(user_script "select 20,15" "enter" "select 80,10" "enter" "select 20,15" "enter" "esc at オブジェクトを選択")"
run_execute
circles=$(sim_circles)
stop_sim
click_control "$TITLE" $ID_CONTINUOUS
click_control "$TITLE" $ID_FACE_CENTRE

check_eq "the list starts with the byte-order mark and the header" \
    $'\xef\xbb\xbf日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ' "$(head -n 1 "$list" | tr -d '\r')"
check_eq "five rows, each ended by CR LF" 6 "$(grep -c $'\r$' "$list")"
check_eq "two face-centre circles of three runs" 2 "$face_circles"
check_eq "the drawing names, the second kept as text" \
    $'Drawing1.dwg\nDrawing1.dwg\n\'=SUM(1+2)plan.dwg\n\'=SUM(1+2)plan.dwg\n\'=SUM(1+2)plan.dwg' "$(column 2)"
check_eq "the modes" $'面の中心\n面の中心\nリージョン\nリージョン\nリージョン' "$(column 3)"
# The rows carry the centroids as typed, at eight places; the simulator logs its circles at four.
check_eq "the region centroids are the circles the simulator drew" \
    "$(printf '%s\n' "$circles" | cut -d' ' -f1)" \
    "$(column 6,7 | tail -n 3 | awk -F, '{ printf "%.4f,%.4f\n", $1, $2 }')"
check_eq "the face-centre centroids are on the rectangle's centroid" $'30.00000000,35.00000000\n30.00000000,35.00000000' \
    "$(column 6,7 | head -n 2)"
check_eq "the circle sizes as typed" $'50\n50\n50\n50\n50' "$(column 8)"
areas_exact() {
    local a1 a2 a3 a4 a5
    read -r a1 a2 a3 a4 a5 <<<"$(column 4 | tr '\n' ' ')"
    near "$a1" 4200 && near "$a2" 4200 && near "$a3" 1200 && near "$a4" 600 && near "$a5" 1200
}
check "the areas are the exact geometry: $(column 4 | tr '\n' ' ')" areas_exact
check_eq "region areas as the label shows them" $'1200.00\n600.00\n1200.00' "$(column 4 | tail -n 3)"
check_eq "every row has its time" 5 \
    "$(column 1 | grep -cE '^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}$')"

# The system menu opened as Alt+Space does, then its items by their mnemonics.
probe syscommand "$TITLE" 0xF100 32 >/dev/null
sleep 1
xdotool key p
sleep 1
check_eq "copy: the total row of the clipboard's table" $'合計\t\t\t11400.0000\t\t\t\t' \
    "$(probe clip-get | grep 合計)"
check_eq "copy: every row and the header" 7 "$(probe clip-get | grep -c $'\t')"

before=$(md5sum <"$list")
probe syscommand "$TITLE" 0xF100 32 >/dev/null
sleep 1
xdotool key w
sleep 1
kept=$(ls "$halvetra" | grep -E '^TavroList-[0-9]{8}-[0-9]{6}\.csv$' || true)
check "new list: the old one is kept under its time ($kept)" test -n "$kept"
check_eq "new list: the kept list is unchanged" "$before" "$(md5sum <"$halvetra/$kept" 2>/dev/null)"
check "new list: no current list until the next row" test ! -e "$list"

# The window opens where it was closed; a place off every monitor opens centred.
probe move "$TITLE" 40 60 >/dev/null
sleep 0.5
check "the tool closes" close_list
start_list
check_eq "the window opens where it was closed" "40 60" "$(probe bounds "$TITLE" 0 | cut -d' ' -f1,2)"
check "the tool closes" close_list
printf '[\x8f\x89\x8a\xfa\x89\xbb]\r\n\x91\xe5\x82\xab\x82\xb3=50\r\n\x8d\xb6=-5000\r\n\x8f\xe3=-5000\r\n' >"$ini"
start_list
check_eq "a place off every monitor opens centred" "$centred" "$(probe bounds "$TITLE" 0 | cut -d' ' -f1,2)"
check "the tool closes" close_list

rm -f "$list" "$halvetra/$kept" "$ini"
rm -rf "$work"
