# Sourced by the hot-key checks: starts a private Xvfb and the app ($1) on it,
# with its own ORVELLA_HOME, and sets $dir, $root (the root window) and $win
# (the app's window). Exits 77 (skipped) without Xvfb.
command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77
dir="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$dir"' EXIT
for n in $(seq 140 199); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { export DISPLAY=":$n"; break; }
done
Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool search --maxdepth 0 --name "" >/dev/null 2>&1 && break; sleep 0.1; done
root="$(xdotool search --maxdepth 0 --name "")"
printf '[Tip]\nStartUp=0\n' >"$dir/Orvella.conf"  # no tip of the day to take the focus
ORVELLA_HOME="$dir" QT_QPA_PLATFORM=xcb "$1" >"$dir/app.log" 2>&1 &
pids+=($!)
win=""
for _ in $(seq 300); do
  win="$(xdotool search --onlyvisible --name Orvella 2>/dev/null | head -1)"
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "FAIL: the window never showed"; cat "$dir/app.log"; exit 1; }
sleep 1

# The focus after running "$@" with the root window focused, once it settles.
focus_after() {
  xdotool windowfocus --sync "$root"
  "$@"
  local focus=""
  for _ in $(seq 15); do
    sleep 0.2
    focus="$(xdotool getwindowfocus)"
    [ "$focus" = "$win" ] && break
  done
  echo "$focus"
}
