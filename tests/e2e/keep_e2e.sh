#!/usr/bin/env bash
# Nothing the user has is lost, end to end with the real exe against the simulator: rows a list
# locked by a spreadsheet cannot take survive Close (try again, or leave them beside the list), a
# session's end and 結果を新しくする; a list saved again in code page 932 is continued in it and
# copied readable; 結果を開く without a program for ".csv" shows the list's folder; a window saved
# half off a smaller screen opens wholly on it; a drawing named outside code page 932 keeps
# its name in the row.
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-keep.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroKeep.exe"
halvetra="$(unix_path "$(probe appdata)")/Halvetra"
list="$halvetra/TavroKeep.csv"
side="$halvetra/TavroKeep.kept.csv"
ini="$halvetra/TavroKeep.Ini"
clean() { rm -f "$halvetra"/TavroKeep*.csv "$ini"; }
clean
ROW_END=',面の中心,4200.0000,260.0000,30.00000000,35.00000000,50'

start_keep() {
    start_exe "$work/TavroKeep.exe"
    KEEP_PID=$STARTED_PID
    probe wait "$TITLE" 20000 >/dev/null
}

# Holds the list as a spreadsheet does until release_list.
hold_list() {
    start_exe "$E2E_BIN/tavroprobe.exe" hold "$(windows_path "$list")" 120000
    HOLD_PID=$STARTED_PID
    sleep 1.5
}
release_list() {
    kill "$HOLD_PID" 2>/dev/null || true
    wait_exit "$HOLD_PID" 10 || true
    sleep 0.5
}

no_box() { ! probe msgbox "$TITLE" "$1" >/dev/null; }
rows_of() { tail -n +2 "$1" | tr -d '\r' | grep -c "$ROW_END" || true; }
all_lines() { tr -d '\r' <"$1" | grep -c . || true; }

start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script \
    "pick 30,35" "pick 30,35" "pick 30,35" "pick 30,35" "pick 30,35" "pick 30,35" "pick 30,35" "pick 30,35")"

# 1. Close with a kept row: 再試行 while still locked asks again, キャンセル leaves the row beside the list.
start_keep
run_execute
hold_list
run_execute
box=$(probe msgbox "$TITLE" 5000 || true)
check "locked: the run says the list cannot be written ($box)" grep -qF "TavroKeep.csv に書き込めません." <<<"$box"
probe answer "$TITLE" 3000 >/dev/null
probe close "$TITLE" >/dev/null
box=$(probe msgbox "$TITLE" 5000)
check "close: the box names the list ($box)" grep -qF "TavroKeep.csv に書き込めません" <<<"$box"
check "close: the box says where the row goes" grep -qF "TavroKeep.kept.csv に残り" <<<"$box"
probe answer "$TITLE" 3000 4 >/dev/null  # 再試行
sleep 1
check "close: 再試行 while locked asks again" probe msgbox "$TITLE" 5000
probe answer "$TITLE" 3000 2 >/dev/null  # キャンセル
check "close: キャンセル ends the program" wait_exit "$KEEP_PID" 15
check_eq "close: the list keeps its one row" 1 "$(rows_of "$list")"
check_eq "close: the side file holds the kept row" 1 "$(grep -c "$ROW_END" "$side" || true)"
release_list
start_keep
check_eq "next start: the kept row is in the list" 2 "$(rows_of "$list")"
check "next start: the side file is gone" test ! -e "$side"
run_execute
check_eq "next start: a new row follows, nothing twice" 3 "$(rows_of "$list")"

# 2. A session's end with a kept row: no box, the row waits beside the list.
hold_list
run_execute
probe answer "$TITLE" 5000 >/dev/null
probe endsession "$TITLE" >/dev/null || true
check "session end: the program ends" wait_exit "$KEEP_PID" 15
check_eq "session end: the kept row is beside the list" 1 "$(grep -c "$ROW_END" "$side" || true)"
release_list
start_keep
check_eq "session end: the next start writes it" 4 "$(rows_of "$list")"

# 3. 結果を新しくする once the lock is gone: the kept row goes into the old list, not the new one.
hold_list
run_execute
probe answer "$TITLE" 5000 >/dev/null
release_list
probe syscommand "$TITLE" 0x0130 0 >/dev/null
sleep 1.5
kept=$(ls "$halvetra" | grep -E '^TavroKeep-[0-9]{8}-[0-9]{6}\.csv$' | head -n 1 || true)
check_eq "new list: the old list has the row measured for it" 5 "$(rows_of "$halvetra/$kept")"
check "new list: nothing starts the new one" test ! -e "$list"
rm -f "$halvetra/$kept"

# 4. A list a spreadsheet saved again in code page 932: continued in it, and copied readable.
printf '日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n2026/12/01 10:00:00,古い図面.dwg,面の中心,10,20,1,2,50\r\n' |
    iconv -f UTF-8 -t CP932 >"$list"
run_execute
check "code page 932: the list still reads as code page 932" iconv -f CP932 -t UTF-8 "$list" -o /dev/null
check_eq "code page 932: the new row in it" 1 "$(iconv -f CP932 -t UTF-8 "$list" | grep -c "Drawing1.dwg$ROW_END" || true)"
check_eq "code page 932: CRLF line ends" 3 "$(grep -c $'\r$' "$list")"
probe syscommand "$TITLE" 0x0110 0 >/dev/null
sleep 1.5
clip=$(probe clip-get)
check_eq "code page 932: the copy has one header" 1 "$(grep -c '^日時' <<<"$clip")"
check "code page 932: the copy reads the old name" grep -q $'\t古い図面.dwg\t' <<<"$clip"
check_eq "code page 932: the total" $'合計\t\t\t4210.0000\t\t\t\t' "$(grep 合計 <<<"$clip")"

# A list readable in neither: kept aside under a new name, a new list, the box says so once.
printf '\xe6\x97\xa5\xe6\x99\x82,\x90\x7d\x96\xca\r\n' >"$list"
before=$(md5sum <"$list")
run_execute
box=$(probe msgbox "$TITLE" 5000 || true)
check "unreadable: the box says it was kept aside ($box)" grep -qF "新しい一覧を始めました" <<<"$box"
probe answer "$TITLE" 3000 >/dev/null || true
aside=$(ls "$halvetra" | grep -E '^TavroKeep-[0-9]{8}-[0-9]{6}\.csv$' | head -n 1 || true)
check_eq "unreadable: kept aside unchanged" "$before" "$(md5sum <"$halvetra/$aside" 2>/dev/null)"
check_eq "unreadable: a new list with the row" 1 "$(rows_of "$list")"
run_execute
check "unreadable: said once" no_box 1500

# 5. 結果を開く without a program for ".csv": the list's folder, no error box.
probe syscommand "$TITLE" 0x0120 0 >/dev/null
check "open: the list's folder is shown" probe wait Halvetra 15000
check "open: no error box" no_box 1000
probe close Halvetra >/dev/null || true
probe close "$TITLE" >/dev/null
check "the tool ends" wait_exit "$KEEP_PID" 15
stop_sim

# 6. A place saved on a larger screen: the title bar is on this one, the buttons are not.
read -r screen_w screen_h <<<"$(xdotool getdisplaygeometry)"
printf '[\x8f\x89\x8a\xfa\x89\xbb]\r\n\x8d\xb6=%d\r\n\x8f\xe3=%d\r\n' $((screen_w - 100)) $((screen_h - 60)) >"$ini"
start_keep
read -r left top width height <<<"$(probe bounds "$TITLE" 0)"
check "smaller screen: the whole window is on it ($left $top $width $height)" \
    test $((left + width)) -le "$screen_w" -a $((top + height)) -le "$screen_h" -a "$left" -ge 0
probe close "$TITLE" >/dev/null
wait_exit "$KEEP_PID" 15 || true

# 7. A drawing whose name the system code page cannot hold reaches the list whole.
start_sim --unicode-title 'AutoCAD 2024 - [\uD55C\uAD6D\uC5B4\u56F3\u9762.dwg]' \
    --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
start_keep
run_execute
check "unicode title: the row names the drawing whole" grep -qF "한국어図面.dwg$ROW_END" "$list"
probe close "$TITLE" >/dev/null
wait_exit "$KEEP_PID" 15 || true
kill "$SIM_PID" 2>/dev/null || true
wait_exit "$SIM_PID" 10 || true

# 8. The work folder deleted while the tool runs, then a list ending in a power cut's NUL bytes,
# locked, with a folder in the side file's place.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35" "pick 30,35")"
start_keep
mv "$halvetra" "$work/halvetra-saved"
run_execute
check_eq "deleted work folder: made again, the run's row is in the list" 1 "$(rows_of "$list")"
check "deleted work folder: no box" no_box 1000
printf '\0\0\0\0' >>"$list"
mkdir "$side"
hold_list
run_execute
probe answer "$TITLE" 5000 >/dev/null || true
probe close "$TITLE" >/dev/null
box=$(probe msgbox "$TITLE" 5000 || true)
check "taken side-file name: the box says where the row goes ($box)" grep -qF "TavroKeep.kept-2.csv に残り" <<<"$box"
probe answer "$TITLE" 3000 2 >/dev/null  # キャンセル
check "taken side-file name: キャンセル ends the program" wait_exit "$KEEP_PID" 15
check_eq "taken side-file name: the row is in the next side file" 1 \
    "$(grep -c "$ROW_END" "$halvetra/TavroKeep.kept-2.csv" || true)"
check "deleted work folder: the settings were saved at Close" grep -q '50' "$ini"
release_list
rmdir "$side"
start_keep
check_eq "NUL bytes: the kept row on a line of its own" 2 "$(tr -d '\0\r' <"$list" | grep -c "^2[0-9/: ]*,Drawing1.dwg$ROW_END" || true)"
probe syscommand "$TITLE" 0x0110 0 >/dev/null
sleep 1.5
clip=$(probe clip-get)
check_eq "NUL bytes: the copy has both rows and the total" $'合計\t\t\t8400.0000\t\t\t\t' "$(grep 合計 <<<"$clip")"
probe close "$TITLE" >/dev/null
wait_exit "$KEEP_PID" 15 || true
stop_sim
clean
rm -rf "$halvetra"/TavroKeep*
cp -a "$halvetra"/. "$work/halvetra-saved"/ 2>/dev/null || true
rm -rf "$halvetra"
mv "$work/halvetra-saved" "$halvetra"

clean
rm -rf "$work"
