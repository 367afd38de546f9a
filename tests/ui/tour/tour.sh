#!/usr/bin/env bash
# Helpers for trying the app by hand under a virtual X server, as a user
# would. Source this file, then `tour_start [DOC]`, drive the window with
# `key`, `type_text`, `click X Y`, take pictures with `shot NAME`, and end
# with `tour_stop`. The tour's state lives in a file, so each step may run
# in a shell of its own. Not run by CI: the pictures are for a person to see.
#   source tests/ui/tour/tour.sh; tour_start; key ctrl+z; shot undo; tour_stop

tour_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)"
tour_build="${ORVELLA_TOUR_BUILD:-$tour_repo/build}"
export DISPLAY="${ORVELLA_TOUR_DISPLAY:-:77}"
tour_state="/tmp/orvella-tour${DISPLAY#:}.state"
# shellcheck disable=SC1090
[ -f "$tour_state" ] && source "$tour_state"

# Starts Xvfb and the app on a scratch copy of DOC (the guide by default),
# with settings and data of its own; pictures go to $tour_dir.
tour_start() {
  local doc="${1:-$tour_build/resources/About Orvella.orv}"
  if [ -f "$tour_state" ]; then
    echo "tour: $DISPLAY is taken; tour_stop first" >&2
    return 1
  fi
  tour_dir="$(mktemp -d /tmp/orvella-tour.XXXXXX)"
  cp "$doc" "$tour_dir/notes.orv"
  # No tip of the day: the tour starts in the window, once the splash has gone.
  printf '[Settings]\nMain%%20Frame%%20State=0\nMain%%20Frame%%20X=0\nMain%%20Frame%%20Y=0\nMain%%20Frame%%20Width=1100\nMain%%20Frame%%20Height=700\n[Tip]\nStartUp=0\n' \
    >"$tour_dir/Orvella.conf"
  Xvfb "$DISPLAY" -screen 0 1100x700x24 >/dev/null 2>&1 &
  tour_xvfb=$!
  sleep 1
  ORVELLA_HOME="$tour_dir" "$tour_build/src/ui/orvella" "$tour_dir/notes.orv" \
    >"$tour_dir/app.log" 2>&1 &
  tour_app=$!
  printf 'tour_dir=%q\ntour_xvfb=%q\ntour_app=%q\n' "$tour_dir" "$tour_xvfb" "$tour_app" \
    >"$tour_state"
  sleep 3
  echo "tour: app $tour_app on $DISPLAY, files in $tour_dir"
}

key() { xdotool key --delay 80 "$@"; sleep 0.4; }
type_text() { xdotool type --delay 40 "$1"; sleep 0.4; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.4; }
shot() { import -window root "$tour_dir/$1.png"; echo "$tour_dir/$1.png"; }
# Whether the app still runs (a wrong passphrase ends it).
app_running() { kill -0 "$tour_app" 2>/dev/null; }

tour_stop() {
  kill "$tour_app" "$tour_xvfb" 2>/dev/null
  rm -f "$tour_state"
}
