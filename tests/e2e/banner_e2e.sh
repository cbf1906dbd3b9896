#!/usr/bin/env bash
# The banner of the real exe on the screen: its text moves left between two screenshots, and it
# still moves while a face-centre run waits for the user's pick.
# Usage: banner_e2e.sh <bin folder>
. "$(dirname "$0")/lib.sh" "$1"

work=$(mktemp -d "$E2E_BIN/../e2e-banner.XXXX")
cp "$E2E_BIN/Tavro.exe" "$work/TavroBanner.exe"
start_exe "$work/TavroBanner.exe"
TAVRO_PID=$STARTED_PID
probe wait "$TITLE" 20000 >/dev/null
sleep 1

# Two shots of the banner (client 8,0 to 201,25) some time apart; prints the leftward shift.
# A wrap between the shots or a blank moment explains no shift, so a few tries are allowed.
banner_shift() {
    local apart=$1 try origin x y shift=none
    for try in 1 2 3 4; do
        origin=$(probe origin "$TITLE")
        x=$((${origin% *} + 8))
        y=${origin#* }
        import -window root -crop "193x25+$x+$y" -depth 8 "rgb:$work/a.rgb"
        sleep "$apart"
        import -window root -crop "193x25+$x+$y" -depth 8 "rgb:$work/b.rgb"
        shift=$(python3 "$E2E_ROOT/tests/e2e/image_shift.py" "$work/a.rgb" "$work/b.rgb" 193 25)
        case "$shift" in none | 0) ;; *) break ;; esac
    done
    echo "$shift"
}

positive() { [[ "$1" =~ ^[0-9]+$ ]] && [ "$1" -gt 0 ]; }

shift=$(banner_shift 0.3)
echo "banner moved $shift pixels left in 0.3 s"
check "the banner's text moved left between two screenshots" positive "$shift"
import -window root -crop "$(probe origin "$TITLE" | awk '{ printf "230x140+%d+%d", $1 - 10, $2 - 35 }')" \
    "$work/banner.png"

# A face-centre run that waits 6 s for the pick: the window is minimised meanwhile; shown again
# without the focus, its banner moves on (the run handles the queued ticks at each poll).
start_sim --drawing "$(windows_path "$E2E_BIN/samples/rectangle.txt")" \
    --user "$(printf 'wait 6000\npick 30,35\n' >"$work/user.txt"; windows_path "$work/user.txt")"
click_control "$TITLE" $ID_EXECUTE
sleep 1
check_eq "the run waits with the window minimised" 1 "$(probe iconic "$TITLE")"
probe show "$TITLE"
sleep 0.5
shift=$(banner_shift 0.6)
echo "banner moved $shift pixels left in 0.6 s while the run waited"
check "the banner moves while the run waits" positive "$shift"
for i in $(seq 1 100); do
    [ "$(probe iconic "$TITLE")" = 0 ] && [ "$(sim_circles | wc -l)" = 1 ] && break
    sleep 0.2
done
check_eq "the run still drew its circle" "30.0000,35.0000 50.0000" "$(sim_circles)"
stop_sim

probe close "$TITLE" >/dev/null
check "the exe ended" wait_exit "$TAVRO_PID" 15
