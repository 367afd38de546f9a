#!/bin/bash
# A tour of the rich-text editor as a user meets it: links typed and
# inserted, text typed after them, clicks, Bold with no selection. Not run by
# CI: run it by hand and look at the screenshots it leaves in OUT.
#   tests/ui/tour/editor_links_tour.sh build/src/ui/orvella build/resources OUT
set -euo pipefail
APP=$1 RESOURCES=$2 OUT=$3
DISPLAY_NO=:${TOUR_DISPLAY:-57}
mkdir -p "$OUT/home"
cp "$RESOURCES/About Orvella.orv" "$OUT/tour.orv"
printf '[Tip]\nStartUp=0\n' >"$OUT/home/Orvella.conf"  # no tip of the day over the window
Xvfb "$DISPLAY_NO" -screen 0 1280x900x24 &
XVFB=$!
export DISPLAY=$DISPLAY_NO
sleep 1
ORVELLA_HOME="$OUT/home" XDG_CONFIG_HOME="$OUT/home/config" "$APP" "$OUT/tour.orv" &
APP_PID=$!
trap 'kill $APP_PID $XVFB' EXIT
sleep 3
shot() { import -window root "$OUT/$1.png"; }

# A web address typed as text shows as a link; the full stop after it does not.
xdotool mousemove 900 244 click 1 key End type --delay 30 " Read https://example.org/page. now"
xdotool key Return
# An internal link picked from another folder's tree, then text typed after it.
xdotool key ctrl+shift+h; sleep 0.8
xdotool mousemove 525 215 click 1; sleep 0.5; xdotool mousemove 450 260 click 1; sleep 0.5
xdotool mousemove 409 241 click 1; sleep 0.5; xdotool mousemove 486 255 click 1; sleep 0.3
shot 1-link-dialog
xdotool mousemove 527 470 click 1; sleep 0.5
xdotool type --delay 30 "after"; xdotool key Return; xdotool type --delay 30 "next line"
shot 2-typed-after-link
# Bold with no selection is for the next text only.
xdotool mousemove 330 245 click 1 key ctrl+b type --delay 30 "BOLD"
xdotool key ctrl+b type --delay 30 "norm"
shot 3-bold-without-selection
# Clicking the ordinary text after the link places the caret; the link follows.
xdotool mousemove 552 277 click 1; sleep 0.3; shot 4-clicked-after-link
xdotool mousemove 400 277 click 1; sleep 0.8; shot 5-followed-link
