#!/usr/bin/env bash
# The circle size round-trips through the settings file with real keyboard and mouse input.
. "$(dirname "$0")/lib.sh" "$1"

# A copy under its own name, so that its settings file is its own: TavroE2E.Ini.
work=$(mktemp -d "$E2E_BIN/../e2e-settings.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroE2E.exe"
exe="$work/TavroE2E.exe"
appdata=$(unix_path "$(probe appdata)")
halvetra="$appdata/Halvetra"
ini="$halvetra/TavroE2E.Ini"
ini_windows="$(probe appdata)\\Halvetra\\TavroE2E.Ini"
rm -rf "$ini"

# Without an application-data folder the work folder is "\Halvetra\" at the root of the current
# drive: the tool runs from a drive of its own, mapped to a folder of this test, so that nothing
# lands at the root of this machine's file system.
drive_root="$work/drive"
mkdir -p "$drive_root/current"
drive_link=
for letter in t u v w x y; do
    if [ ! -e "$WINEPREFIX/dosdevices/$letter:" ]; then
        drive_link="$WINEPREFIX/dosdevices/$letter:"
        break
    fi
done
[ -n "$drive_link" ] || { echo "no free drive letter in the prefix"; exit 1; }
ln -s "$drive_root" "$drive_link"
trap 'status=$?; rm -f "$drive_link"; (exit $status); e2e_finish' EXIT

start_and_wait() {
    pushd "$drive_root/current" >/dev/null
    start_exe "$exe"
    popd >/dev/null
    probe wait "$TITLE" 20000 >/dev/null
}

close_with_button() {
    click_control "$TITLE" $ID_CLOSE
    probe gone "$TITLE" 10000 >/dev/null && wait_exit "$STARTED_PID" 10
}

# Close as a screen reader does it from its own process: S_OK, then the window goes and the program
# ends with exit code 0, not a fault (a call that never answers is given up after 20 s).
close_with_reader() {
    local answer i
    answer=$(timeout 20 wine "$E2E_BIN/tavroprobe.exe" press "$TITLE" $ID_CLOSE 2>/dev/null | tr -d '\r' || true)
    [ "$answer" == 0x00000000 ] && probe gone "$TITLE" 10000 >/dev/null || { echo "answer [$answer]"; return 1; }
    for i in $(seq 1 100); do
        kill -0 "$STARTED_PID" 2>/dev/null || { wait "$STARTED_PID"; return; }
        sleep 0.1
    done
    return 1
}

ini_text() {
    iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r'
}

# First start: no settings file yet.
start_and_wait
check_eq "first start shows the default size" "50" "$(probe text "$TITLE" $ID_EDIT1)"
type_size 123
check_eq "typed size is in the box" "123" "$(probe text "$TITLE" $ID_EDIT1)"
check "Close ends the program" close_with_button
check "settings file written in the work folder" test -f "$ini"
check_eq "settings file holds section and key" $'[初期化]\n大きさ=123' "$(ini_text | head -n 2)"
check "settings file is code page 932 with CR LF" cmp -s <(head -n 2 "$ini") <(printf '[\x8f\x89\x8a\xfa\x89\xbb]\r\n\x91\xe5\x82\xab\x82\xb3=123\r\n')
check "the window's place is saved beside the size" grep -qE $'^\x8d\xb6=-?[0-9]+\r$' "$ini"
check "the window's place is saved beside the size (top)" grep -qE $'^\x8f\xe3=-?[0-9]+\r$' "$ini"

start_and_wait
check_eq "next start shows the saved size" "123" "$(probe text "$TITLE" $ID_EDIT1)"
type_size abc
check "Close ends the program" close_with_button
start_and_wait
check_eq "a size that is not a number round-trips" "abc" "$(probe text "$TITLE" $ID_EDIT1)"
type_size ""
check "Close ends the program" close_with_button
check_eq "an empty size is saved as typed" $'[初期化]\n大きさ=' "$(ini_text | head -n 2)"
start_and_wait
check_eq "an empty size round-trips" "" "$(probe text "$TITLE" $ID_EDIT1)"
check "Close ends the program" close_with_button

for size in 71 72 73; do
    start_and_wait
    type_size "$size"
    check "a screen reader's Close ends the program cleanly ($size)" close_with_reader
    check_eq "a screen reader's Close saves the settings ($size)" "大きさ=$size" "$(ini_text | sed -n 2p)"
done

# A settings file that cannot be written: a folder stands in its place.
rm -f "$ini"
mkdir -p "$ini"
start_and_wait
check_eq "unwritable settings file: start still shows the default" "50" "$(probe text "$TITLE" $ID_EDIT1)"
click_control "$TITLE" $ID_CLOSE
check_eq "unwritable settings file: the error box names the file" "$ini_windows に書き込めません." \
    "$(probe msgbox "$TITLE" 10000)"
probe answer "$TITLE" 5000 >/dev/null
check "unwritable settings file: the program still closes" wait_exit "$STARTED_PID" 10
rmdir "$ini"

# A work folder that cannot be created: a file named like it.
if [ -d "$halvetra" ]; then mv "$halvetra" "$halvetra.e2e-saved"; fi
touch "$halvetra"
start_and_wait
check_eq "uncreatable work folder: start shows the default" "50" "$(probe text "$TITLE" $ID_EDIT1)"
click_control "$TITLE" $ID_CLOSE
check_eq "uncreatable work folder: the error box names the file" "$ini_windows に書き込めません." \
    "$(probe msgbox "$TITLE" 10000)"
probe answer "$TITLE" 5000 >/dev/null
check "uncreatable work folder: the program still closes" wait_exit "$STARTED_PID" 10
rm -f "$halvetra"
if [ -d "$halvetra.e2e-saved" ]; then mv "$halvetra.e2e-saved" "$halvetra"; fi

# No application-data folder at all: the start must still work and the window must still close.
mv "$appdata" "$appdata.e2e-saved"
root_before=$(stat -c %Y /Halvetra/TavroE2E.Ini 2>/dev/null || echo none)
start_and_wait
check_eq "missing application-data folder: start shows the default" "50" "$(probe text "$TITLE" $ID_EDIT1)"
click_control "$TITLE" $ID_CLOSE
# Whether the settings can be written then depends on the shell; an error box is answered if one comes.
probe answer "$TITLE" 2000 >/dev/null || true
check "missing application-data folder: the program closes" wait_exit "$STARTED_PID" 10
check "missing application-data folder: the settings file is at the root of the tool's drive" \
    test -f "$drive_root/Halvetra/TavroE2E.Ini"
check_eq "missing application-data folder: nothing written at the root of this machine" "$root_before" \
    "$(stat -c %Y /Halvetra/TavroE2E.Ini 2>/dev/null || echo none)"
rm -rf "$appdata"
mv "$appdata.e2e-saved" "$appdata"

rm -rf "$work"
