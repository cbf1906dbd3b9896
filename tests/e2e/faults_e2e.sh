#!/usr/bin/env bash
# What other programs and the machine throw at the tool, end to end: the CAD program closed,
# restarted, or two at once (each run goes to the one the user was last in), a report that is
# missing, locked, a folder, garbage or 10 MB, a bad settings file, Close and Execute during a
# wait, two instances started together (one runs). Each scenario
# checks the outcome the user should get and that nothing is lost: the drawing (no shape of it
# removed), FILEDIA back on, the user's clipboard, the settings file.
# Usage: faults_e2e.sh <bin folder>
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"

work=$(mktemp -d "$E2E_BIN/../e2e-faults.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroFault.exe"
exe="$work/TavroFault.exe"
halvetra="$(unix_path "$(probe appdata)")/Halvetra"
ini="$halvetra/TavroFault.Ini"
ini_windows="$(probe appdata)\\Halvetra\\TavroFault.Ini"
rm -rf "$ini"
# Whatever stops the script, the work folder and the settings file are left ordinary.
cleanup() {
    local status=$?
    # A script stopped by a failing command still ends what it started and says so.
    set +e
    chattr -i "$ini" 2>/dev/null || true
    if [ -d "$work/halvetra-saved" ]; then
        rm -f "$halvetra"
        mv "$work/halvetra-saved" "$halvetra"
    fi
    (exit "$status")
    e2e_finish
}
trap cleanup EXIT
CLIP="利用者のクリップボード 123"

start_tool() {
    start_exe "$exe"
    TAVRO_PID=$STARTED_PID
    probe wait "$TITLE" 20000 >/dev/null
}

close_tool() {
    probe close "$TITLE" >/dev/null
    wait_exit "$TAVRO_PID" 10
}

face_centre_sim() {
    start_sim --drawing "$(windows_path "$samples/rectangle.txt")" --user "$(user_script "pick 30,35")" "$@"
}

# The drawing keeps every shape it had: only entities created during the runs were ever removed.
drawing_kept() {
    local removed id
    removed=$(sim_log | sed -n 's/.*entity removed id=\([0-9]*\).*/\1/p')
    for id in $removed; do
        sim_log | grep -q "entity created id=$id " || return 1
    done
}

# Nothing lost after a scenario: the drawing, FILEDIA, the clipboard; the tool is still there and
# its window is back.
nothing_lost() {
    local what=$1
    check "$what: no shape of the drawing removed" drawing_kept
    check_eq "$what: FILEDIA is 1" 1 "$(sim_filedia)"
    check_eq "$what: the user's clipboard" "$CLIP" "$(probe clip-get)"
    check "$what: the tool still runs" kill -0 "$TAVRO_PID"
    check_eq "$what: window restored" 0 "$(probe iconic "$TITLE")"
}

# Waits (at most a minute, for a loaded machine) until the CAD program's prompt begins with text
# and the tool's window is minimised: the run has typed what it types before it waits.
wait_prompt() {
    local i
    for i in $(seq 1 300); do
        case "$(probe prompt "$SIM_TITLE" 2>/dev/null)" in "$1"*) [ "$(probe iconic "$TITLE")" = 1 ] && return 0 ;; esac
        sleep 0.2
    done
    echo "the CAD prompt never began with $1" >&2
}

circles() {
    sim_circles | wc -l
}

start_tool
type_size 50
probe clip-put "$CLIP"

# The CAD program closed while a region pass waits for the selection, after a first pass drew; an
# Execute click during that wait starts nothing.
click_control "$TITLE" $ID_FACE_CENTRE # region mode
click_control "$TITLE" $ID_CONTINUOUS
start_sim --drawing "$(windows_path "$samples/regions.txt")" --user "$(user_script "select 20,15" "enter")"
click_control "$TITLE" $ID_EXECUTE
for i in $(seq 1 50); do [ "$(circles)" = 1 ] && break; sleep 0.2; done
# Counted once the second pass waits at the selection, so that none of its own records come later.
wait_prompt "オブジェクトを選択"
check_eq "closed in the second pass: the first pass drew its circle" "20.0000,15.0000 50.0000" "$(sim_circles)"
check_eq "closed in the second pass: the run waits" 1 "$(probe iconic "$TITLE")"
typed=$(sim_log | grep -c '^copydata' || true)
probe post-click "$TITLE" $ID_EXECUTE
sleep 1
check_eq "Execute during the selection wait: nothing more typed" "$typed" "$(sim_log | grep -c '^copydata' || true)"
stop_sim
for i in $(seq 1 50); do [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
check "closed in the second pass: no shape removed" drawing_kept
check_eq "closed in the second pass: window restored" 0 "$(probe iconic "$TITLE")"
check_eq "closed in the second pass: clipboard" "$CLIP" "$(probe clip-get)"
click_control "$TITLE" $ID_CONTINUOUS
click_control "$TITLE" $ID_FACE_CENTRE # face centre again

# Restarted in the other frame kind between runs: the next run finds the new main frame and types
# in the form it takes.
for kind in unicode ansi unicode; do
    options=()
    [ "$kind" = ansi ] && options=(--ansi)
    face_centre_sim "${options[@]}"
    run_execute
    check_eq "restarted as $kind: the circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
    nothing_lost "restarted as $kind"
    stop_sim
done

# Two CAD programs at once, each with its own log: every run goes to the one the user was last
# in (started last, or clicked into), reads that one and types into that one only; should that one
# close before the run types, nothing goes to the other, and the next run goes to the other.
title_a="AutoCAD 2024 - [Drawing1.dwg]" title_b="AutoCAD 2024 - [Drawing2.dwg]"
use_sim() { SIM_TITLE=$1 SIM_LOG_RAW=$2 SIM_PID=$3; }
# A click on a window's title bar, this far from its left edge, as the user goes into that program.
click_title_bar() {
    local x y
    read -r x y <<<"$(probe origin "$1")"
    xdotool mousemove $((x + $2)) $((y - 10)) click 1
    sleep 1
}
start_sim --drawing "$(windows_path "$samples/rectangle.txt")" \
    --user "$(user_script "pick 30,35" "pick 30,35" "pick 30,35")"
log_a=$SIM_LOG_RAW pid_a=$SIM_PID
run_execute
start_sim --title "$title_b" --drawing "$(windows_path "$samples/triangle.txt")" --user "$(user_script "pick 5,5")"
log_b=$SIM_LOG_RAW pid_b=$SIM_PID
# Overlapping A, as windows on a desktop do, with a part of its title bar right of A in view.
probe move "$title_b" 240 320 >/dev/null
use_sim "$title_a" "$log_a" "$pid_a"
typed_a=$(typed_records)
use_sim "$title_b" "$log_b" "$pid_b"
run_execute
check_eq "two CADs, B started last: the circle in B" "10.0000,13.3333 50.0000" "$(sim_circles)"
use_sim "$title_a" "$log_a" "$pid_a"
check_eq "two CADs, B started last: nothing typed into A" "$typed_a" "$(typed_records)"
click_title_bar "$title_a" 120
check_eq "two CADs: the user's click brought A forward" 1 "$(probe above "$title_a" "$title_b")"
use_sim "$title_b" "$log_b" "$pid_b"
typed_b=$(typed_records)
use_sim "$title_a" "$log_a" "$pid_a"
run_execute
check_eq "two CADs, back in A: both circles in A" $'30.0000,35.0000 50.0000\n30.0000,35.0000 50.0000' "$(sim_circles)"
nothing_lost "two CADs, A"
use_sim "$title_b" "$log_b" "$pid_b"
check_eq "two CADs, back in A: nothing typed into B" "$typed_b" "$(typed_records)"
# In B again, Execute, and B is gone at once: the run's wait for the double-click time is over
# before anything is typed, and it types nothing into A.
click_title_bar "$title_b" 860
check_eq "two CADs: the user's click brought B forward" 1 "$(probe above "$title_b" "$title_a")"
use_sim "$title_a" "$log_a" "$pid_a"
typed_a=$(typed_records)
xdotool mousemove $(probe rect "$TITLE" $ID_EXECUTE) click 1
kill -9 "$pid_b"
wait_exit "$pid_b" 10 || true
# The run may have minimised the window before it found B gone: it ends within a moment.
sleep 2
for i in $(seq 1 50); do [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
check_eq "two CADs, B gone before the first send: nothing typed into A" "$typed_a" "$(typed_records)"
nothing_lost "two CADs, B gone"
run_execute
check_eq "two CADs, B gone: the next run draws in A" 3 "$(circles)"
nothing_lost "two CADs, A alone"
stop_sim
SIM_TITLE=$title_a

# Faults of the report file: the outcome, and nothing lost.
report_fault() {
    local fault=$1 box=$2 expected=$3
    face_centre_sim --report-fault "$fault"
    click_control "$TITLE" $ID_EXECUTE
    if [ -n "$box" ]; then
        check_eq "report $fault: the error box" "$box" "$(probe msgbox "$TITLE" 20000)"
        probe answer "$TITLE" 5000 >/dev/null
    else
        # The run minimises the window only once the double-click time has passed: wait for its start.
        for i in $(seq 1 25); do [ "$(probe iconic "$TITLE")" = 1 ] || [ -n "$(sim_circles)" ] && break; sleep 0.2; done
    fi
    for i in $(seq 1 100); do [ "$(probe iconic "$TITLE")" = 0 ] && break; sleep 0.2; done
    check_eq "report $fault: circles" "$expected" "$(sim_circles)"
    nothing_lost "report $fault"
    stop_sim
    # A folder in the report's place stays there: take it away for the next runs.
    find "$halvetra" -maxdepth 1 -type d -name '*.mpr' -exec rmdir {} +
}
report_fault missing "" ""
report_fault garbage "" ""
report_fault locked "I/O エラー (32)." ""
report_fault folder "ファイルへのアクセスが拒否されました." ""
report_fault huge "" "30.0000,35.0000 50.0000"

# Execute, the system menu's copy and Close while a face-centre run waits for the pick: the second
# Execute and the copy type nothing, Close ends the run, FILEDIA was never touched, the size is saved.
start_sim --drawing "$(windows_path "$samples/rectangle.txt")"
type_size 64
click_control "$TITLE" $ID_EXECUTE
wait_prompt "点を指定"
typed=$(sim_log | grep -c '^copydata' || true)
probe post-click "$TITLE" $ID_EXECUTE
sleep 1
check_eq "Execute during the pick wait: nothing more typed" "$typed" "$(sim_log | grep -c '^copydata' || true)"
check_eq "Execute during the pick wait: still waiting" 1 "$(probe iconic "$TITLE")"
probe syscommand "$TITLE" 0x0110 0 >/dev/null # the system menu's copy of the results list
sleep 1
check_eq "copy of the results during the pick wait: nothing more typed" "$typed" "$(sim_log | grep -c '^copydata' || true)"
check_eq "copy of the results during the pick wait: still waiting" 1 "$(probe iconic "$TITLE")"
probe clip-put "$CLIP"
probe close "$TITLE" >/dev/null
check "Close during the pick wait: the program ends" wait_exit "$TAVRO_PID" 10
check_eq "Close during the pick wait: FILEDIA untouched" 1 "$(sim_filedia)"
check "Close during the pick wait: no shape removed" drawing_kept
check_eq "Close during the pick wait: the size is saved" "大きさ=64" "$(iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r' | grep 大きさ)"
check_eq "Close during the pick wait: clipboard" "$CLIP" "$(probe clip-get)"
stop_sim

# The work folder cannot be made (a file stands in its place): a run writes no report and draws
# nothing, and leaves everything as it was; Close names the settings file it cannot write.
mv "$halvetra" "$work/halvetra-saved"
touch "$halvetra"
start_tool
face_centre_sim
run_execute
check_eq "no work folder: no circle" "" "$(sim_circles)"
nothing_lost "no work folder"
stop_sim
probe close "$TITLE" >/dev/null
check_eq "no work folder: Close names the settings file" "$ini_windows に書き込めません." "$(probe msgbox "$TITLE" 10000)"
probe answer "$TITLE" 5000 >/dev/null
check "no work folder: the program ends" wait_exit "$TAVRO_PID" 10
rm -f "$halvetra"
mv "$work/halvetra-saved" "$halvetra"

# Settings files that are read-only, garbage or 10 MB: the program starts, shows what it can read
# and closes; a file it cannot write is left as it was, with the error named.
printf '[\x8f\x89\x8a\xfa\x89\xbb]\r\n\x91\xe5\x82\xab\x82\xb3=77\r\n' >"$ini"
# Root writes through a read-only mode, so for root the file is made immutable as well.
chmod 444 "$ini"
[ "$(id -u)" != 0 ] || chattr +i "$ini"
cp "$ini" "$work/ini-before"
start_tool
check_eq "read-only settings: the saved size" 77 "$(probe text "$TITLE" $ID_EDIT1)"
type_size 88
probe close "$TITLE" >/dev/null
check_eq "read-only settings: the error names the file" "$ini_windows に書き込めません." "$(probe msgbox "$TITLE" 10000)"
probe answer "$TITLE" 5000 >/dev/null
check "read-only settings: the program ends" wait_exit "$TAVRO_PID" 10
check "read-only settings: the file is unchanged" cmp -s "$ini" "$work/ini-before"
[ "$(id -u)" != 0 ] || chattr -i "$ini"
chmod 644 "$ini"

head -c 65536 /dev/urandom >"$ini"
start_tool
type_size 91
check "garbage settings: the program ends" close_tool
start_tool
check_eq "garbage settings: the size written over it is read back" 91 "$(probe text "$TITLE" $ID_EDIT1)"
check "garbage settings: the program ends again" close_tool

{
    printf '[other]\r\n'
    awk 'BEGIN { for (i = 0; i < 140000; i++) printf "filler%06d=%s\r\n", i, sprintf("%064d", i) }'
    printf '[\x8f\x89\x8a\xfa\x89\xbb]\r\n\x91\xe5\x82\xab\x82\xb3=33\r\n'
} >"$ini"
check "10 MB settings: the file is over 10 MB" test "$(stat -c %s "$ini")" -gt 10000000
start_tool
check_eq "10 MB settings: the saved size" 33 "$(probe text "$TITLE" $ID_EDIT1)"
type_size 34
check "10 MB settings: the program ends" close_tool
start_tool
check_eq "10 MB settings: the new size is read back" 34 "$(probe text "$TITLE" $ID_EDIT1)"
check "10 MB settings: the program ends again" close_tool
check "10 MB settings: the other section is kept" grep -q '^\[other\]' "$ini"

# Two instances started in the same second: one window comes up and the other start ends; a later
# start brings the first window back from the task bar and ends too.
rm -f "$ini"
start_exe "$exe"
first_tool=$STARTED_PID
start_exe "$exe"
second_tool=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
wait_iconic_zero() {
    local i
    for i in $(seq 1 50); do
        [ "$(probe iconic "$TITLE")" = 0 ] && return 0
        sleep 0.1
    done
    return 1
}
one_ended() { wait_exit "$first_tool" 15 || wait_exit "$second_tool" 15; }
check "two instances: one of the two starts ends by itself" one_ended
kill -0 "$first_tool" 2>/dev/null && running=$first_tool || running=$second_tool
check "two instances: the other runs" kill -0 "$running"
probe minimize "$TITLE" >/dev/null
sleep 0.5
start_exe "$exe"
check "a third start ends" wait_exit "$STARTED_PID" 15
check_eq "a third start: the running window is restored" 0 "$(probe iconic "$TITLE")"
check "two instances: the running one still runs" kill -0 "$running"
# A first instance minimised and then hung (its thread stopped): a second start still ends at once.
probe minimize "$TITLE" >/dev/null
sleep 0.5
kill -STOP "$running"
start_exe "$exe"
check "a start beside a hung instance ends within two seconds" wait_exit "$STARTED_PID" 2
kill -CONT "$running"
check "a hung instance: restored once it answers again" wait_iconic_zero
probe close "$TITLE" >/dev/null
check "two instances: the running one ends" wait_exit "$running" 15
check_eq "two instances: the settings file holds the size" "大きさ=50" \
    "$(iconv -f CP932 -t UTF-8 "$ini" | tr -d '\r' | grep 大きさ)"

rm -rf "$work"
