#!/usr/bin/env bash
# A Windows user named outside code page 932 (José): the settings file, the results list and the
# run's report are in the user's own folder, for a Unicode and an ANSI frame, and no look-alike
# folder (Jose) is made. Wine names the profile after USER when it makes a prefix, so this script
# runs in a prefix of its own (made once, beside the build's own), with the desktop of the caller.
export USER=José
TAVRO_WINEPREFIX="$(cd "$1/.." && pwd)/wineprefix-jose"
export TAVRO_WINEPREFIX
unset TAVRO_WINE_UP
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"
work=$(mktemp -d "$E2E_BIN/../e2e-user.XXXX")

users="$WINEPREFIX/drive_c/users"
halvetra="$users/José/AppData/Roaming/Halvetra"
list="$halvetra/Tavro.csv"
ini="$halvetra/Tavro.Ini"
rm -rf "$halvetra" "$users/Jose"
check "the prefix's profile is named after the user" test -d "$users/José/AppData/Roaming"

# Rows that an earlier end left beside the list go into it at the start.
mkdir -p "$halvetra"
printf '\xef\xbb\xbf#書き込み待ちの行\r\n2026/12/08 14:30:15,前回.dwg,面の中心,1,2,3,4,5\r\n' >"$halvetra/Tavro.kept.csv"

start_exe "$E2E_BIN/Tavro.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
type_size 50
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
run_execute
circles=$(sim_circles | wc -l)
stop_sim
# An ANSI frame cannot take the name: it is given the folder's short form.
start_sim --ansi --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")"
run_execute
ansi_circles=$(sim_circles | wc -l)
stop_sim
type_size 77
probe close "$TITLE" >/dev/null
check "Close ends the program" wait_exit "$TAVRO_PID" 10

check_eq "the circle is drawn" 1 "$circles"
check_eq "an ANSI frame draws it too" 1 "$ansi_circles"
check "the report is in the user's folder" compgen -G "$halvetra/*.mpr"
check "the settings file is in the user's folder" test -f "$ini"
check_eq "it holds the size, in code page 932" $'[初期化]\n大きさ=77' \
    "$(iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r' | head -n 2)"
check_eq "the list holds the kept row, then the run's" $'前回.dwg\nDrawing1.dwg\nDrawing1.dwg' \
    "$(tail -n +2 "$list" | tr -d '\r' | cut -d, -f2)"
check "the side file is gone" test ! -e "$halvetra/Tavro.kept.csv"
check "no look-alike folder is made" test ! -e "$users/Jose"
rm -rf "$work"
