#!/usr/bin/env bash
# The activation hot key in a Wayland session, where no program may grab a
# key: the app asks the desktop portal to bind Ctrl+F12 (the default key), and
# when the portal says it was pressed the window comes forward. The portal is
# a stand-in on a private session bus. Skipped (77) without Xvfb,
# dbus-run-session or python3-dbus.
set -u
if [ -z "${ORVELLA_PRIVATE_BUS:-}" ]; then
  command -v dbus-run-session >/dev/null || exit 77
  ORVELLA_PRIVATE_BUS=1 exec dbus-run-session -- bash "$0" "$@"
fi
/usr/bin/python3 -c "import dbus, gi" 2>/dev/null || exit 77
here="$(dirname "$0")"
portal_dir="$(mktemp -d)"
/usr/bin/python3 "$here/stand_in_portal.py" "$portal_dir" &
portal=$!
for _ in $(seq 50); do [ -e "$portal_dir/ready" ] && break; sleep 0.1; done
export XDG_SESSION_TYPE=wayland
source "$here/xvfb_app.sh" "$1"
pids+=("$portal")
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$dir" "$portal_dir"' EXIT

for _ in $(seq 50); do [ -s "$portal_dir/bound" ] && break; sleep 0.1; done
[ "$(cat "$portal_dir/bound" 2>/dev/null)" = "activate CTRL+F12" ] ||
  { echo "FAIL: the portal was asked to bind: $(cat "$portal_dir/bound" 2>/dev/null)"; cat "$dir/app.log"; exit 1; }
[ "$(focus_after xdotool key ctrl+F12)" = "$root" ] || { echo "FAIL: the key was grabbed from X as well"; exit 1; }
# X takes a focus change only with a time later than the last one; with no
# window manager here, the app's time is that of the last X event it saw.
press() { xdotool mousemove --window "$win" 5 5; kill -USR1 "$portal"; }
[ "$(focus_after press)" = "$win" ] || { echo "FAIL: the portal's press left the window behind"; exit 1; }
echo "portal_hot_key: all checks passed"
