#!/bin/sh
# A tour of the tree pane and the folder tabs under a virtual X server, for a
# person to look at: each step leaves a screenshot in OUT. Not run by CTest.
# Usage: tests/ui/tour/tree_and_tabs.sh [BUILD_DIR] [OUT] [DISPLAY_NUMBER]
set -eu
BUILD=$(cd "${1:-build}" && pwd)
OUT=${2:-/tmp/orvella-tour}
NUM=${3:-73}
mkdir -p "$OUT/home"
cp "$BUILD/resources/About Orvella.orv" "$OUT/home/notes.orv"
printf '[Tip]\nStartUp=0\n' >"$OUT/home/Orvella.conf"  # no tip of the day over the window
Xvfb ":$NUM" -screen 0 1280x900x24 >"$OUT/xvfb.log" 2>&1 &
XVFB=$!
export DISPLAY=":$NUM"
sleep 1
cd "$OUT/home"  # a relative path on the command line, as a user types it
ORVELLA_HOME="$OUT/home" "$BUILD/src/ui/orvella" notes.orv >"$OUT/app.log" 2>&1 &
APP=$!
sleep 3
shot() { sleep 0.5; import -window root "$OUT/$1.png"; }
xdotool windowfocus "$(xdotool search --name 'notes.orv' | head -1)"
xdotool mousemove 100 140 click 1                     # the note "Folders and notes"
xdotool key ctrl+Tab; shot 01-next-folder
xdotool key ctrl+shift+Tab; shot 02-previous-folder
xdotool mousemove 140 76 click 3; shot 03-tab-menu     # the folder menu alone
xdotool key Escape
xdotool mousemove 100 104 click 1                     # the first note, a branch
xdotool key minus; shot 04-main-minus-does-nothing
xdotool key KP_Subtract; shot 05-keypad-minus-closes
xdotool key KP_Add; shot 06-keypad-plus-opens
xdotool mousemove 80 140 mousedown 1                  # drag a note above the first row
for y in 130 120 110 100 96; do xdotool mousemove 90 "$y"; sleep 0.15; done
shot 07-dragging-between-rows
xdotool mouseup 1; shot 08-dropped-between-rows
xdotool key ctrl+shift+1                              # "!" on a US keyboard
xdotool mousemove 265 8 click 1; sleep 0.3; xdotool mousemove 290 50; shot 09-bookmark-1-set
xdotool key Escape Escape
xdotool key F1; shot 10-guide-window
kill "$APP" "$XVFB"
echo "screenshots in $OUT"
