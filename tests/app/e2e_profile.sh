#!/usr/bin/env bash
# End-to-end: a custom profile made in the Options dialog converts a file after a restart.
# First run: Ctrl+I opens Options; the keyboard sets the audio bitrate to 224, the sample rate
# to 32000 and one channel; Add stores them under a typed name; OK closes the dialog; the
# program is closed. Second run (Options never opened): a video is added through the open
# dialog, MP3 and the profile are picked in the main window's two selectors, Ctrl+S converts.
# The profile file must hold the name, log.txt's "parameter: " line the profile's options, and
# the output (ffprobe) be MP3 at 224 kbit/s, 32000 Hz, mono.
# Usage: e2e_profile.sh <program folder>. Exit 77 (skipped) without xvfb-run, xdotool or ffmpeg.
# With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail

# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

# Options' tab order: name box, Add, Save, Delete, bitrate, sample rate, volume, channels, OK, Cancel.
add_profile_in_options() {
  xdotool windowfocus --sync "$main" key ctrl+i
  options=$(find_window "^Options$") || fail "Ctrl+I showed no Options dialog"
  xdotool windowfocus --sync "$options"
  xdotool key Tab Tab Tab Tab End         # bitrate: the last entry, 224
  xdotool key Tab Home Down               # sample rate: 32000
  xdotool key Tab Tab Home                # channels: 1 channel, Mono
  shot 1-options
  xdotool key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space # Add
  prompt=$(find_window "^Kelvane$") || fail "Add asked for no name"
  xdotool windowfocus --sync "$prompt" key ctrl+a
  xdotool type --delay 20 "$PROFILE"
  shot 2-add-prompt
  xdotool key Return
  poll 50 not_visible "^Kelvane$" || fail "the name prompt stayed"
  shot 3-options-with-profile
  xdotool windowfocus --sync "$options" key Return # OK, the default button
  poll 50 not_visible "^Options$" || fail "OK did not close the Options dialog"
}

# pick <x> <y> <keys...>: opens the main window's selector at x, y and picks with the keys.
pick() {
  local x=$1 y=$2
  shift 2
  xdotool mousemove --window "$main" --sync "$x" "$y" click 1
  poll 25 eval '! windows_up 1' || fail "the selector at $x,$y opened no list"
  xdotool key "$@"
  poll 25 windows_up 1 || fail "the list of the selector at $x,$y stayed open"
}

convert_with_profile() {
  pick 516 143 Home Down Down Return # cbbOutputFiletype: MP3
  pick 476 170 End Return            # cbbProfile: the last entry, the custom profile
  shot 4-main-with-profile
  xdotool windowfocus --sync "$main" key ctrl+s
  poll 150 test -f "$OUTPUT" || fail "no output file $OUTPUT"
  poll 150 not_visible "^Converting$" || fail "the progress window stayed"
  poll 50 only_main || fail "a window other than the main window is up after the run"
}

inside() {
  start_program
  add_profile_in_options
  close_program
  start_program
  add_through_open_dialog
  convert_with_profile
  close_program
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

program_dir=$1
skip_without xvfb-run xdotool ffmpeg ffprobe
copy_program "$program_dir"
profile='Podcast mono'
source_file="$work/media/clip one.mp4"
output="$HOME/Kelvane/clip one.mp3"
ffmpeg -v error -f lavfi -i testsrc=duration=2:size=160x120:rate=10 -f lavfi -i sine=duration=2 \
  -c:v mpeg4 -c:a aac -shortest "$source_file"

PROFILE=$profile SOURCE=$source_file OUTPUT=$output PROGRAM="$work/Kelvane/kelvane" \
  SETTINGS="$work/Kelvane/Config/UserSettings.ini" \
  timeout 200 xvfb-run -a -s "-screen 0 1024x640x24" "$0" --inside

profiles="$work/Kelvane/Config/UserProfileInfo.ini"
expected=$(printf '\r\n[%s]\r\n%s=1|1|2|8|0|1\r\n' "$profile" "$profile")
[ "$(cat "$profiles")" = "$expected" ] || { echo "unexpected profile file:"; cat -A "$profiles"; exit 1; }
line=$(grep 'parameter: ' "$work/Kelvane/log.txt" || true)
for option in '-acodec mp3' ' -ab 224 ' ' -ac 1 ' ' -ar 32000 '; do
  [[ "$line" == *"$option"* ]] || { echo "no '$option' in the parameter line: $line"; exit 1; }
done
stream=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels,bit_rate \
  -of default=noprint_wrappers=1 "$output")
expected=$'codec_name=mp3\nsample_rate=32000\nchannels=1\nbit_rate=224000'
[ "$stream" = "$expected" ] || { echo "unexpected output stream:"; echo "$stream"; exit 1; }
echo "ok: a profile added in Options converted a file with its values after a restart"
