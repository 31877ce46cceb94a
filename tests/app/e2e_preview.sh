#!/usr/bin/env bash
# End-to-end: the preview of the real program on a virtual X screen. Starts a copy of the program
# folder with an empty home folder, adds a generated 20-second video through the open dialog (its
# row is selected then), and presses Ctrl+P: the video window must show the video instead of the
# logo. Ctrl+U pauses it (the picture stays), Ctrl+T stops it (the logo is back). Then the file is
# moved away and Ctrl+P pressed again: that one preview that cannot play writes "Playing Video
# error." to log.txt, which shows that the log is where it is looked for; it must be the only such
# line. The program must end with its close button.
# Usage: e2e_preview.sh <program folder>. Exit 77 (skipped) without xvfb-run, xdotool, ffmpeg or
# ImageMagick. With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail

# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

# The video window (253 x 152 at 26,76 of the main window) and the position display's digits.
grab_video() { grab "$1" "$main" 253x152+26+76; }
grab_position() { grab "$1" "$main" 90x20+165+261; }
# The video window shows something else than the logo, and not just black.
shows_video() { grab_video now && [ "$(differing now logo)" -gt 5000 ] && [ "$(measure now 'mean>0.1')" = 1 ]; }
shows_logo() { grab_video now && [ "$(differing now logo)" -lt 500 ]; }
# The position display shows another time than before the start (00:00:00).
position_moved() { grab_position now && [ "$(differing now position-before)" -gt 20 ]; }
# The picture stays the same for a second: the test video's counter changes every second, so a
# playing video never passes. The second between the two looks is what is measured.
still_for_a_second() {
  grab_video before
  sleep 1
  grab_video after
  [ "$(differing before after)" -lt 500 ]
}

preview() {
  grab_video logo
  grab_position position-before
  xdotool windowfocus --sync "$main" key ctrl+p
  poll 75 shows_video || fail "Ctrl+P showed no video"
  poll 50 position_moved || fail "the position display did not move on while playing"
  shot 5-preview-playing
  xdotool windowfocus --sync "$main" key ctrl+u
  poll 5 still_for_a_second || fail "the picture moves on while paused"
  shows_video || fail "the picture went when pausing"
  xdotool windowfocus --sync "$main" key ctrl+t
  poll 25 shows_logo || fail "Ctrl+T did not bring the logo back"
}

# The file of the row is gone: Ctrl+P cannot load it and logs so; the logo is shown. The file is
# checked while the window goes on, so the logo may give way to the empty video for a moment and
# is drawn again after the line is written: wait for it rather than look once.
preview_of_a_moved_file() {
  mv "$SOURCE" "$SOURCE.moved"
  xdotool windowfocus --sync "$main" key ctrl+p
  poll 50 logged "Playing Video error." || fail "a file that cannot play wrote no line to $LOG"
  poll 25 shows_logo || fail "the logo did not come back for a file that cannot play"
}

if [ "${1:-}" = --inside ]; then
  start_program
  add_through_open_dialog
  preview
  preview_of_a_moved_file
  close_program
  exit 0
fi

program_dir=$1
skip_without xvfb-run xdotool ffmpeg import compare convert
copy_program "$program_dir"
source_file="$work/media/preview clip.mp4"
ffmpeg -v error -f lavfi -i testsrc=duration=20:size=320x240:rate=25 -f lavfi -i sine=duration=20 \
  -c:v mpeg4 -q:v 5 -c:a aac -shortest "$source_file"

log="$work/Kelvane/log.txt"
WORK=$work SOURCE=$source_file PROGRAM="$work/Kelvane/kelvane" SETTINGS="$work/Kelvane/Config/UserSettings.ini" \
  LOG=$log timeout 150 xvfb-run -a -s "-screen 0 1024x640x24" "$0" --inside

[ -f "$log" ] || { echo "no log.txt at $log"; exit 1; }
if [ "$(grep -c "Playing Video error." "$log")" != 1 ]; then
  echo "log.txt should hold one preview error, for the moved file:"
  cat "$log"
  exit 1
fi
echo "ok: Ctrl+P plays the added file in the video window, Ctrl+U pauses it, Ctrl+T brings the logo back;" \
  "a file that cannot play is logged"
