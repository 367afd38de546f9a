#!/usr/bin/env bash
# The desktop app's command line: --help and --version answer where there is
# no display; a wrong option, a missing document and a missing printer each
# fail with a message on standard error, and nothing waits for a click.
set -u
app="$1" guide="$2"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Qt would abort without a display: these never start it.
out="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$app" --help 2>&1)" ||
  fail "--help: exit $?: $out"
grep -q '^Usage: orvella \[FILE\]$' <<<"$out" || fail "--help said: $out"
out="$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$app" -platform xcb --version 2>&1)" ||
  fail "--version: exit $?: $out"
grep -Eq '^Orvella [0-9]+\.[0-9]+\.[0-9]+$' <<<"$out" || fail "--version said: $out"

# expect STATUS MESSAGE ARGS...: the app's exit status and a line of its stderr.
expect() {
  local status="$1" message="$2"
  shift 2
  local err
  err="$(ORVELLA_HOME="$home" QT_QPA_PLATFORM=offscreen CUPS_SERVER="$home/no-cups" \
    timeout 60 "$app" "$@" 2>&1 >/dev/null)"
  local got=$?
  [ "$got" = "$status" ] || fail "$*: exit $got, not $status: $err"
  grep -qF -- "$message" <<<"$err" || fail "$*: no \"$message\" in: $err"
}
expect 2 "orvella: unknown option --frobnicate" --frobnicate
expect 2 "orvella: --print needs a document" --print
expect 1 "orvella: no document $home/none.orv" --print "$home/none.orv"
cp "$guide" "$home/notes.orv"
expect 1 "orvella: No printer is set up" --print "$home/notes.orv"
echo "ok"
