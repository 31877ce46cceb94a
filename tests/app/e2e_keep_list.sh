#!/usr/bin/env bash
# End-to-end: the list is kept and the program is one window. On a virtual X screen the program
# starts with a 100-second video on its command line; its end time is typed as 00:01:10. A
# second start with another video hands that file to the running window and ends with status 0.
# The window is closed and started again without files: both rows come back, and Ctrl+S converts
# the first with its cut (-t 70 in the log's "parameter: " line). A second Ctrl+S asks about the
# two rows converted already; Cancel starts nothing.
# Usage: e2e_keep_list.sh <program folder>. Exit 77 (skipped) without xvfb-run, xdotool or ffmpeg.
# With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail
# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

saved() { grep -qF "$1" "$LIST" 2>/dev/null; }
parameters() { grep -c 'parameter: ' "$LOG" 2>/dev/null || true; }

first_run() {
  start_program "$SOURCE"
  poll 150 saved "\"path\": \"$SOURCE\"" || fail "the added file was not saved in $LIST"
  shot 1-added
  # The "End Time" cell of the first row, a typed time committed with Enter.
  xdotool mousemove --window "$main" --sync 445 325 click 1
  xdotool key ctrl+a type --delay 20 "00:01:10"
  xdotool key Return
  poll 50 saved '"endMs": 70000' || fail "the typed end time was not saved"
  shot 2-cut
  # A second start hands its file over and ends at once with status 0.
  timeout 30 "$PROGRAM" "$SECOND" || fail "the second start ended with status $?"
  poll 150 saved "\"path\": \"$SECOND\"" || fail "the file of the second start was not added to the first window"
  poll 10 only_main || fail "the second start opened a window"
  shot 3-handed-over
  close_program
}

second_run() {
  start_program
  shot 4-restarted
  xdotool windowfocus --sync "$main" key ctrl+s
  poll 150 test -f "$OUTPUT" || fail "no output file $OUTPUT"
  poll 150 not_visible "^Converting$" || fail "the progress window stayed"
  poll 50 only_main || fail "a window other than the main window is up after the run"
  [ "$(parameters)" = 2 ] || fail "the run converted $(parameters) rows, not 2"
  # Both rows are converted now: Convert asks once, and Cancel (Esc) starts nothing.
  xdotool windowfocus --sync "$main" key ctrl+s
  poll 50 windows_up 2 || fail "Convert asked nothing about the converted rows"
  shot 5-question
  xdotool key Escape
  poll 50 only_main || fail "the question stayed"
  [ "$(parameters)" = 2 ] || fail "Cancel still converted"
  close_program
}

if [ "${1:-}" = --inside ]; then
  first_run
  second_run
  exit 0
fi

program_dir=$1
skip_without xvfb-run xdotool ffmpeg
copy_program "$program_dir"
rm -rf "$work/Kelvane/Config" "$work/Kelvane/log.txt"
source_file="$work/media/lecture one.mp4"
second_file="$work/media/lecture two.mp4"
ffmpeg -v error -f lavfi -i testsrc=duration=100:size=160x120:rate=10 -f lavfi -i sine=duration=100 \
  -c:v mpeg4 -c:a aac -shortest "$source_file"
ffmpeg -v error -f lavfi -i testsrc=duration=2:size=160x120:rate=10 -f lavfi -i sine=duration=2 \
  -c:v mpeg4 -c:a aac -shortest "$second_file"
log="$work/Kelvane/log.txt"

SOURCE=$source_file SECOND=$second_file OUTPUT="$HOME/Kelvane/lecture one.amr" PROGRAM="$work/Kelvane/kelvane" \
  LOG=$log LIST="$work/Kelvane/Config/SourceList.json" SETTINGS="$work/Kelvane/Config/UserSettings.ini" \
  timeout 200 xvfb-run -a -s "-screen 0 1024x640x24" "$0" --inside

grep 'parameter: ' "$log" | grep -F "lecture one.mp4" | grep -q -- " -ss 00:00:00 -t 70 " || { echo "the cut did not survive the restart:"; cat "$log"; exit 1; }
echo "ok: the list and its cut came back after a restart, a second start handed its file over"
