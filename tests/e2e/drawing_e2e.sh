#!/usr/bin/env bash
# The real exe against the simulator on drawings as users keep them: whole units, feet and inches,
# running object snaps that also act on a script's typed points, the user's own undo group open, and
# an area whose lines have a gap. Each circle lands within 1e-6 of the exact centroid and every
# setting is the user's again afterwards.
# Usage: drawing_e2e.sh <bin folder> [exe to run instead of Tavro.exe]
. "$(dirname "$0")/lib.sh" "$1"
samples="$E2E_BIN/samples"
work=$(mktemp -d "$E2E_BIN/../e2e-drawing.XXXX")
cp "${2:-$E2E_BIN/Tavro.exe}" "$work/TavroDrawing.exe"
start_exe "$work/TavroDrawing.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
type_size 50

within() {
    awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; if (d < 0) d = -d; exit !(d <= 0.000001) }'
}

# The newest circle's centre, exact, against the exact centroid x,y.
circle_at() {
    local what=$1 x=$2 y=$3 circle centre
    circle=$(sim_circle_exact)
    centre=${circle% *}
    check "$what: a circle" test -n "$circle"
    check "$what: centre x within 1e-6 of $x (${centre%,*})" within "${centre%,*}" "$x"
    check "$what: centre y within 1e-6 of $y (${centre#*,})" within "${centre#*,}" "$y"
}

# Every variable the run may set is as the user had it.
settings_back() {
    local what=$1
    shift
    local pair
    for pair in "$@"; do
        check_eq "$what: ${pair%=*} back" "${pair#*=}" "$(sim_var "${pair%=*}" "${pair#*=}")"
    done
    check_eq "$what: FILEDIA back" 1 "$(sim_filedia)"
}

# Face-centre mode and a region pass on a drawing with the user's units: the triangle's centroid
# y (13.3333...) shows what whole units or feet and inches would cut off.
for units in "LUPREC=0" "LUNITS=4 LUPREC=3 UNITMODE=1"; do
    vars=()
    for pair in $units; do vars+=(--var "$pair"); done
    start_sim "${vars[@]}" --drawing "$(windows_path "$samples/triangle.txt")" --user "$(user_script "pick 5,5")"
    run_execute
    circle_at "face centre at $units" 10 13.333333333333
    # The label shows the area as the user's own LUPREC prints it at decimal units.
    places=$(sim_var LUPREC 4)
    check_eq "face centre at $units: area label at the user's places" \
        "$(awk -v p="$places" 'BEGIN { printf "%.*f", p, 600 }')" "$(probe text "$TITLE" $ID_LABEL1)"
    # shellcheck disable=SC2086
    settings_back "face centre at $units" $units OSMODE=4133
    stop_sim

    click_control "$TITLE" $ID_FACE_CENTRE  # region mode
    start_sim "${vars[@]}" --drawing "$(windows_path "$samples/regions.txt")" \
        --user "$(user_script "select 20,15" "select 80,10" "enter")"
    run_execute
    circle_at "region pass at $units" 40 13.333333333333
    check_eq "region pass at $units: area label with two places" "1800.00" "$(probe text "$TITLE" $ID_LABEL1)"
    # shellcheck disable=SC2086
    settings_back "region pass at $units" $units OSMODE=4133
    click_control "$TITLE" $ID_FACE_CENTRE
    stop_sim
done

# Running snaps (endpoint, centre, ...) that win over typed points, as a script's do: a pick just
# inside a corner stays where it was clicked, and the circle is exact.
start_sim --typed-as-script --var OSNAPCOORD=0 --drawing "$(windows_path "$samples/rectangle.txt")" \
    --user "$(user_script "pick 0.3,0.3")"
run_execute
circle_at "running snaps" 30 35
check_eq "running snaps: no point was moved" "" "$(sim_snaps)"
settings_back "running snaps" OSMODE=4133 OSNAPCOORD=0
stop_sim
click_control "$TITLE" $ID_FACE_CENTRE # region mode: the centroid typed into CIRCLE is not moved either
start_sim --typed-as-script --var OSNAPCOORD=0 --drawing "$(windows_path "$samples/regions.txt")" \
    --user "$(user_script "select 80,10" "enter")"
run_execute
circle_at "running snaps, region pass" 80 10
check_eq "running snaps, region pass: no point was moved" "" "$(sim_snaps)"
settings_back "running snaps, region pass" OSMODE=4133 OSNAPCOORD=0
click_control "$TITLE" $ID_FACE_CENTRE
stop_sim

# The user's own undo group open: the run types no Begin and no End, the group is still open
# afterwards, and after the user's own UNDO End one U takes back the user's line and the circle.
user_group() {
    local what=$1 x=$2 y=$3 created
    shift 3
    start_sim --user-group --drawing "$(windows_path "$samples/$1")" --user "$(user_script "${@:2}")"
    run_execute
    circle_at "$what" "$x" "$y"
    check_eq "$what: begun only by the user, never ended" "undo begin" "$(sim_log | grep -oE 'undo (begin|end)' || true)"
    probe type "$SIM_TITLE" '_.UNDO _End\r'
    check_eq "$what: the user ends it" 1 "$(sim_log | grep -cE 'undo end' || true)"
    created=$(sim_log | grep -c 'entity created' || true)
    probe type "$SIM_TITLE" 'U\r'
    check_eq "$what: one U takes back the group" "undo back GROUP" "$(sim_log | grep -o 'undo back .*' | tail -n 1)"
    check_eq "$what: the circle and everything else of the group gone" "$created" \
        "$(sim_log | grep -c 'entity removed' || true)"
    stop_sim
}
user_group "the user's group" 30 35 rectangle.txt "pick 30,35"
click_control "$TITLE" $ID_FACE_CENTRE # region mode
user_group "the user's group, region pass" 20 15 regions.txt "select 20,15" "enter"
click_control "$TITLE" $ID_FACE_CENTRE

# A pick inside an area whose lines have a gap: the tip says so, nothing is drawn, and the next run
# on the closed area draws its circle.
start_sim --drawing "$(windows_path "$samples/gap.txt")" --user "$(user_script "pick 80,20" "pick 20,20")"
run_execute
check_eq "gap: the tip" "クリックした点を囲む閉じた領域が見つかりません。線に隙間がないか確かめてください" \
    "$(probe tip-text "$TITLE")"
check_eq "gap: no circle" "" "$(sim_circles)"
settings_back "gap" OSMODE=4133 LUPREC=4
run_execute
circle_at "gap: the next run" 20 20
stop_sim

probe close "$TITLE" >/dev/null
check "the tool closes" wait_exit "$TAVRO_PID" 10
