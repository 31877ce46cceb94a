#!/usr/bin/env bash
# End-to-end: the preview of the real program on a virtual X screen. Starts a copy of the program
# folder with an empty home folder, adds a generated 20-second video through the open dialog (its
# row is selected then), and presses Ctrl+P: the video window must show the video instead of the
# logo. Ctrl+U pauses it (the picture stays), Ctrl+T stops it (the logo is back). The log must not
# hold "Playing Video error." and the program must end with its close button.
# Usage: e2e_preview.sh <program folder>. Exit 77 (skipped) without xvfb-run, xdotool, ffmpeg or
# ImageMagick. With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail

# poll <tries> <command...>: runs the command every 0.2 s until it succeeds; false after <tries>.
poll() {
  local tries=$1
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
not_visible() { ! visible "$1"; }
shot() { [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$1.png"; }
fail() { echo "$1" >&2; shot failure; kill "$pid" 2>/dev/null || true; exit 1; }
windows_up() { [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" = "$1" ]; }
settled() { windows_up 1 && sleep 0.2 && windows_up 1; }

# The video window (253 x 152 at 26,76 of the main window) as a picture in $WORK/<name>.png.
grab_video() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  import -window root -crop "253x152+$((X + 26))+$((Y + 76))" +repage "$WORK/$1.png"
}
# Number of pixels that differ between two grabs (beyond a little noise).
differing() { compare -metric AE -fuzz 8% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 || true; }
# The video window shows something else than the logo, and not just black.
shows_video() {
  grab_video now
  [ "$(differing now logo)" -gt 5000 ] &&
    [ "$(convert "$WORK/now.png" -colorspace Gray -format '%[fx:mean>0.1]' info:)" = 1 ]
}
shows_logo() { grab_video now && [ "$(differing now logo)" -lt 500 ]; }

start_program() {
  "$PROGRAM" &
  pid=$!
  main=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kelvane 1\.0$" | head -1)
  [ -n "$main" ] || fail "no window titled Kelvane 1.0"
  poll 50 settled || fail "the splash did not go"
}

add_through_open_dialog() {
  xdotool windowfocus --sync "$main" key ctrl+o
  dialog=$(timeout 20 xdotool search --sync --onlyvisible --name "^Open$" | head -1)
  [ -n "$dialog" ] || fail "Ctrl+O showed no open dialog"
  xdotool windowfocus --sync "$dialog" key alt+n
  xdotool key ctrl+a type --delay 20 "$SOURCE"
  xdotool key Return
  poll 25 not_visible "^Open$" || { xdotool key Return; poll 50 not_visible "^Open$"; } ||
    fail "the open dialog did not take the typed path"
  poll 150 settled || fail "the file was not added"
}

preview() {
  grab_video logo
  xdotool windowfocus --sync "$main" key ctrl+p
  poll 75 shows_video || fail "Ctrl+P showed no video"
  sleep 2.5 # the position display has moved on
  shot 5-preview-playing
  xdotool windowfocus --sync "$main" key ctrl+u
  poll 25 shows_video || fail "the picture went when pausing"
  grab_video paused
  sleep 1
  grab_video still
  [ "$(differing paused still)" -lt 500 ] || fail "the picture moves on while paused"
  xdotool windowfocus --sync "$main" key ctrl+t
  poll 25 shows_logo || fail "Ctrl+T did not bring the logo back"
}

close_program() {
  xdotool mousemove --window "$main" --sync 652 40 click 1 # btnWindowClose
  timeout 30 tail --pid="$pid" -f /dev/null || fail "the program did not end after its close button"
  wait "$pid" || fail "the program ended with status $?"
}

if [ "${1:-}" = --inside ]; then
  start_program
  add_through_open_dialog
  preview
  close_program
  exit 0
fi

program_dir=$1
for tool in xvfb-run xdotool ffmpeg import compare convert; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir" "$work/Kelvane"
export HOME="$work/home"
mkdir -p "$HOME" "$work/media"
source_file="$work/media/preview clip.mp4"
ffmpeg -v error -f lavfi -i testsrc=duration=20:size=320x240:rate=25 -f lavfi -i sine=duration=20 \
  -c:v mpeg4 -q:v 5 -c:a aac -shortest "$source_file"

WORK=$work SOURCE=$source_file PROGRAM="$work/Kelvane/kelvane" \
  timeout 150 xvfb-run -a -s "-screen 0 1024x640x24" "$0" --inside

log="$work/Kelvane/log.txt"
if grep -q "Playing Video error." "$log" 2>/dev/null; then
  echo "log.txt reports a preview error:"
  cat "$log"
  exit 1
fi
echo "ok: Ctrl+P plays the added file in the video window, Ctrl+U pauses it, Ctrl+T brings the logo back"
