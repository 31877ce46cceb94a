#!/usr/bin/env bash
# End-to-end: a user's whole job from the real program on a virtual X screen. Starts a copy of
# the program folder with an empty home folder, opens the open dialog with Ctrl+O, types the
# path of a generated video (a blank and a $ in its name) into the file-name box, converts it
# with Ctrl+S and closes the program with its close button. The output must be
# $HOME/Kelvane/<name>.amr (mono AMR at 8000 Hz), the progress window gone, one "parameter: "
# line in log.txt, and the program ended.
# With "stop" as second argument, an hour-long video is converted instead and stopped with the
# progress window's Stop, the question answered with Enter: the output folder must stay empty
# and the main window must take commands again.
# With "kill" as second argument, the same hour-long video is converted and the program is killed
# (SIGKILL) while its encoder writes: within 2 s the encoder must have ended and the output folder
# (which held a file and a hidden file of the user's) must hold exactly what it held before.
# With "segment" as second argument, a 100-second video is cut before it is converted: the start
# marker dragged with the mouse to 45 seconds and the end time typed as 00:01:10. The log's
# "parameter: " line must ask for -ss 00:00:45 -t 25 and the output must last 25 seconds.
# With "pick" as second argument, the video's name holds double quotes and parentheses, and it is
# picked in the dialog's list by keyboard (its folder typed into the file-name box, Shift+Tab to
# the list, Space, Alt+O for Open) instead of typed.
# With "playhead" as second argument, a two-hour video is cut to the second with the keys: the
# start typed as 01:23:40, Ctrl+P, Ctrl+U, a click on the video window, Home, five times
# Shift+Right, I (the start at 01:23:45, second 5025), five times Shift+Right more, O. The log's
# "parameter: " line must ask for -ss 01:23:45 -t 5 and the output must last 5 seconds.
# Usage: e2e_convert.sh <program folder> [stop|kill|segment|pick|playhead]. Exit 77 (skipped) without xvfb-run, xdotool or ffmpeg.
# With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail

# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

listing() { ls -A "$HOME/Kelvane"; }
same_listing() { [ "$(listing)" = "$LISTING_BEFORE" ]; }

# Parts of the open dialog: its "Look in" box and the first row of its file list.
look_in() { grab "$1" "$dialog" 350x18+95+12; }
first_row() { grab "$1" "$dialog" 480x16+110+66; }
# The typed folder is open ("Look in" changed) and its listing, which comes from a thread of the
# dialog, is in: the first row is no longer blank.
listed() {
  look_in now && [ "$(differing now look-in-before)" -gt 50 ] &&
    first_row row && [ "$(measure row 'standard_deviation>0.02')" = 1 ]
}
# The first row is selected: it shows the selection's colour.
selected() { first_row row && [ "$(measure row 'mean.g-mean.r>0.2')" = 1 ]; }

# The folder typed into the file-name box opens it; the list takes the keyboard and Space selects
# its only file, which the box then shows; Open.
pick_in_open_dialog() {
  xdotool windowfocus --sync "$main" key ctrl+o
  dialog=$(find_window "^Open$") || fail "Ctrl+O showed no open dialog"
  xdotool windowfocus --sync "$dialog" key alt+n
  xdotool key ctrl+a type --delay 20 "$(dirname "$SOURCE")"
  look_in look-in-before
  xdotool key Return
  poll 100 listed || fail "the open dialog did not list the typed folder"
  xdotool key shift+Tab space
  poll 25 selected || fail "Space did not select the file in the open dialog's list"
  shot 2-open-dialog
  xdotool key alt+o
  poll 50 not_visible "^Open$" || fail "the file picked in the list did not open"
  poll 150 added || fail "the file was not added"
  shot 3-main-with-row
}

convert() {
  xdotool windowfocus --sync "$main" key ctrl+s
  poll 150 test -f "$OUTPUT" || fail "no output file $OUTPUT"
  poll 150 not_visible "^Converting$" || fail "the progress window stayed"
  poll 50 only_main || fail "a window other than the main window is up after the run"
  ! logged "Conversion failed" || fail "the conversion failed: $(cat "$LOG")"
  shot 4-after-run
}

# Stop in the progress window, answered with Enter (Yes is the default answer).
convert_and_stop() {
  xdotool windowfocus --sync "$main" key ctrl+s
  progress=$(find_window "^Converting$") || fail "Ctrl+S showed no progress window"
  poll 50 writing_into "$HOME/Kelvane" || fail "no encoder writes into the output folder"
  shot 4-converting
  xdotool mousemove --window "$progress" --sync 369 195 click 1 # btnStop
  poll 50 windows_up 3 || fail "Stop asked nothing" # the main window, the progress window, the question
  shot 5-stop-question
  xdotool key Return
  poll 150 stopped || fail "the progress window stayed after the stop"
  shot 6-after-stop
  # The main window takes commands again.
  xdotool windowfocus --sync "$main" key ctrl+o
  find_window "^Open$" >/dev/null || fail "the main window stays disabled"
  xdotool key Escape
  poll 50 not_visible "^Open$" || fail "the open dialog did not close"
  poll 50 only_main || fail "the busy window after the cancelled dialog did not close"
}

# The program killed while its encoder writes: 10 looks 0.2 s apart are the 2 s a user may wait.
convert_and_kill() {
  xdotool windowfocus --sync "$main" key ctrl+s
  find_window "^Converting$" >/dev/null || fail "Ctrl+S showed no progress window"
  poll 50 writing_into "$HOME/Kelvane" || fail "no encoder writes into the output folder"
  shot 4-converting
  local encoders encoder
  encoders=$(writers_into "$HOME/Kelvane")
  kill -KILL "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
  for encoder in $encoders; do
    poll 10 ended "$encoder" || fail "the encoder $encoder still runs 2 s after the program was killed"
  done
  poll 10 same_listing || fail "the output folder holds $(listing | paste -sd ' '), not $LISTING_BEFORE"
}

# The start marker (Splitter1 of the timeline at 22,234, its filler 1 pixel wide) dragged 99
# pixels to the right: (100 − 3) × 121 div 260 = 45 % of the file. Then a click into the
# "End Time" cell of the first row opens its editor, and the typed time is committed with Enter.
cut_segment() {
  xdotool mousemove --window "$main" --sync 32 243 mousedown 1
  xdotool mousemove --window "$main" --sync 80 243
  xdotool mousemove --window "$main" --sync 131 243 mouseup 1
  shot 4-start-marker-moved
  xdotool mousemove --window "$main" --sync 445 "$END_CELL_Y" click 1
  xdotool key ctrl+a type --delay 20 "00:01:10"
  xdotool key Return
  shot 5-end-time-typed
}

# The position display's digits, and the video window (253 x 152 at 26,76 of the main window).
grab_position() { grab "$1" "$main" 90x20+165+261; }
position_moved() { grab_position now && [ "$(differing now position-before)" -gt 20 ]; }
# The start cell of the first row shows the time the keys set.
start_cell() { grab "$1" "$main" 60x14+352+"$((END_CELL_Y - 7))"; }
start_cell_changed() { start_cell now && [ "$(differing now start-cell-before)" -gt 10 ]; }

# The start typed into its cell, the file played and paused, then the keys on the video window.
cut_at_playhead() {
  xdotool mousemove --window "$main" --sync 380 "$END_CELL_Y" click 1
  xdotool key ctrl+a type --delay 20 "01:23:40"
  xdotool key Return
  grab_position position-before
  xdotool windowfocus --sync "$main" key ctrl+p
  poll 100 position_moved || fail "Ctrl+P did not play the file"
  xdotool key ctrl+u
  xdotool mousemove --window "$main" --sync 150 150 click 1 # the video window takes the keys
  xdotool key --delay 50 Home shift+Right shift+Right shift+Right shift+Right shift+Right
  start_cell start-cell-before
  xdotool key i
  poll 25 start_cell_changed || fail "I did not set the start"
  shot 4-start-at-the-playhead
  xdotool key --delay 50 shift+Right shift+Right shift+Right shift+Right shift+Right o
  shot 5-end-at-the-playhead
}

# Runs on the virtual screen: everything a user does, in order.
inside() {
  start_program
  shot 1-main
  if [ "$MODE" = pick ]; then pick_in_open_dialog; else add_through_open_dialog; fi
  if [ "$MODE" = segment ]; then cut_segment; fi
  if [ "$MODE" = playhead ]; then cut_at_playhead; fi
  case $MODE in
    stop) convert_and_stop ;;
    kill) convert_and_kill; return ;;
    *) convert ;;
  esac
  close_program
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

program_dir=$1
mode=${2:-convert}
skip_without xvfb-run xdotool ffmpeg ffprobe
[ "$mode" != pick ] && [ "$mode" != playhead ] || skip_without import compare convert
copy_program "$program_dir"
rm -rf "$work/Kelvane/Config" "$work/Kelvane/log.txt"   # whatever an earlier start left there
name='my clip $HOME'
[ "$mode" = pick ] && name='My "best" (clip) $HOME'
output="$HOME/Kelvane/$name.amr"
log="$work/Kelvane/log.txt"
listing_before=
if [ "$mode" = kill ]; then
  mkdir -p "$HOME/Kelvane"
  echo "the user's" >"$HOME/Kelvane/notes.txt"
  echo "the user's" >"$HOME/Kelvane/.$name.amr.a1b2c3.part"
  listing_before=$(ls -A "$HOME/Kelvane")
fi
if [ "$mode" = stop ] || [ "$mode" = kill ]; then
  # An hour of sound, so that the conversion still runs when Stop is answered; stored as plain
  # samples, it is made in about a second.
  source_file="$work/media/$name.mov"
  ffmpeg -v error -f lavfi -i testsrc=duration=3600:size=32x32:rate=1 -f lavfi -i sine=duration=3600:sample_rate=8000 \
    -c:v mpeg4 -c:a pcm_s16le -shortest "$source_file"
elif [ "$mode" = playhead ]; then
  # Two hours at 32 x 32 pixels, a picture a second, and sound at 8000 Hz: made in seconds.
  source_file="$work/media/$name.mp4"
  ffmpeg -v error -f lavfi -i color=c=gray:size=32x32:rate=1:duration=7200 -f lavfi -i sine=duration=7200:sample_rate=8000 \
    -c:v mpeg4 -g 10 -c:a aac -b:a 16k -shortest "$source_file"
else
  length=2
  [ "$mode" = segment ] && length=100
  source_file="$work/media/$name.mp4"
  ffmpeg -v error -f lavfi -i testsrc=duration=$length:size=160x120:rate=10 -f lavfi -i sine=duration=$length \
    -c:v mpeg4 -c:a aac -shortest "$source_file"
fi

LISTING_BEFORE=$listing_before WORK=$work MODE=$mode END_CELL_Y=${END_CELL_Y:-325} SOURCE=$source_file OUTPUT=$output PROGRAM="$work/Kelvane/kelvane" LOG=$log \
  SETTINGS="$work/Kelvane/Config/UserSettings.ini" \
  timeout 150 xvfb-run -a -s "-screen 0 1024x640x24" "$0" --inside

lines=$(grep -c 'parameter: ' "$log" || true)
[ "$lines" = 1 ] || { echo "log.txt holds $lines parameter lines:"; cat "$log"; exit 1; }
if [ "$mode" = kill ]; then
  echo "ok: the program killed while converting, its encoder ended and the output folder is as it was"
  exit 0
fi
if [ "$mode" = stop ]; then
  left=$(find "$HOME/Kelvane" -mindepth 1)
  [ -z "$left" ] || { echo "left in the output folder after the stop: $left"; exit 1; }
  grep -q "Conversion stopped: $source_file" "$log" || { echo "no stop in log.txt:"; cat "$log"; exit 1; }
  echo "ok: a conversion stopped from the progress window left nothing behind, the main window works again"
  exit 0
fi
stream=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels \
  -of default=noprint_wrappers=1 "$output")
expected=$'codec_name=amr_nb\nsample_rate=8000\nchannels=1'
[ "$stream" = "$expected" ] || { echo "unexpected output stream:"; echo "$stream"; exit 1; }
leftovers=$(find "$HOME/Kelvane" -type f ! -name "$(basename "$output")")
[ -z "$leftovers" ] || { echo "left in the output folder: $leftovers"; exit 1; }
# check_cut <-ss> <-t> <seconds> <message>: the parameter line asks for the cut and the output
# lasts that long. Raw AMR carries no length: its frames last 20 ms each.
check_cut() {
  grep 'parameter: ' "$log" | grep -q -- " -ss $1 -t $2 " ||
    { echo "the cut is not in the parameter line:"; grep 'parameter: ' "$log"; exit 1; }
  frames=$(ffprobe -v error -count_frames -select_streams a:0 -show_entries stream=nb_read_frames -of csv=p=0 "$output")
  (( frames >= $3 * 50 - 10 && frames <= $3 * 50 + 10 )) || { echo "the output lasts $frames frames of 20 ms, not $3 s"; exit 1; }
  echo "ok: $4"
  exit 0
}
[ "$mode" != playhead ] || check_cut 01:23:45 5 5 "cut a two-hour file to the second with the keys at the playhead, converted exactly that part"
[ "$mode" != segment ] || check_cut 00:00:45 25 25 "cut with the start marker and a typed end time, converted exactly that part"
echo "ok: added through the open dialog ($mode), converted with Ctrl+S, closed"
