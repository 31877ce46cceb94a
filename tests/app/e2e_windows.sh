#!/usr/bin/env bash
# End-to-end under a window manager (openbox) on a virtual X screen: how the main window moves
# and which window stays on top.
# - A click on the window's background, its title, the timeline or its foot leaves the window
#   where it is, also while the pointer goes on moving; a drag by the title, or by the status line
#   at its foot, moves the window with the pointer from the step that passed the drag distance
#   on, and it stays put once the button is up.
# - During a conversion, a click on the disabled main window leaves the progress window above it.
#   The Options dialog, opened before, stays above the main window and takes keys: Esc closes it.
# Usage: e2e_windows.sh <program folder>. Exit 77 (skipped) without xvfb-run, openbox, xdotool,
# xprop or ffmpeg. With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail

# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The main window's top-left corner on the screen, as "x y".
position() { window_at "$main"; }

# A window that moves when it should not gives no sign to wait for. Where a check says that the
# window stays, the pauses give a wrong move the time to show; they decide nothing on their own.

# click_stays <what> <x> <y>: a click there, then the pointer wanders off; the window must not follow.
click_stays() {
  local before after
  before=$(position)
  xdotool mousemove --window "$main" --sync "$2" "$3" click 1
  xdotool mousemove_relative --sync 120 70
  sleep 0.3
  xdotool mousemove_relative --sync -- -60 40
  sleep 0.3
  after=$(position)
  [ "$before" = "$after" ] || fail "a click on the $1 moved the window from $before to $after"
}

# The pointer's place on the screen, as "x y".
pointer() { xdotool getmouselocation --shell | sed -n 's/^[XY]=//p' | paste -sd ' '; }
# The window is no longer at the given place; else the pointer is nudged 1 to the right, so that
# a window manager that has taken a move over shows it at the next look.
moved_after_nudge() {
  [ "$(position)" != "$1" ] || { xdotool mousemove_relative --sync 1 0; false; }
}
down_by() { # down_by <pixels> <from y>
  local x y
  read -r x y <<<"$(position)"
  [ "$y" = $(($2 + $1)) ]
}

# drag_moves <what> <x> <y>: drags the window from there (the title, the status line). The first
# step of 15,10 passes the drag distance and the program hands the move
# to the window manager, which moves the window with the pointer from where the pointer was when
# the program asked. Nudges to the right show when it has taken over; then five more steps of
# 15,10. Downwards the window must follow the pointer exactly (50 pixels); to the right it moves
# by at least 75, at most as far as the pointer went after the first step; after the release it
# stays put.
drag_moves() {
  local start bx by ax px ex released
  start=$(position)
  read -r bx by <<<"$start"
  xdotool mousemove --window "$main" --sync "$2" "$3" mousedown 1
  read -r px _ <<<"$(pointer)"
  xdotool mousemove_relative --sync 15 10
  poll 25 moved_after_nudge "$start" || fail "a drag by the $1 did not move the window"
  for _ in 1 2 3 4 5; do
    xdotool mousemove_relative --sync 15 10
  done
  read -r ex _ <<<"$(pointer)"
  poll 25 down_by 50 "$by" || fail "the pointer went down by 50 after the first step, the window from $start to $(position)"
  xdotool mouseup 1
  released=$(position)
  read -r ax _ <<<"$released"
  (( ax - bx >= 75 && ax - bx <= ex - px - 15 )) ||
    fail "the pointer went right by $((ex - px)) in all, the window by $((ax - bx))"
  xdotool mousemove_relative --sync 100 50
  sleep 0.3
  [ "$(position)" = "$released" ] || fail "the window went on moving after the button was up"
  shot "2-dragged-by-the-$1"
}

# The stacking order of the window manager, bottom to top, as decimal window ids.
stacking() {
  xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //; s/,//g' | xargs -n1 printf '%d\n'
}
above() { # above <upper> <lower>
  local order
  order=$(stacking)
  local upper lower
  upper=$(grep -n "^$1\$" <<<"$order" | cut -d: -f1)
  lower=$(grep -n "^$2\$" <<<"$order" | cut -d: -f1)
  [ -n "$upper" ] && [ -n "$lower" ] && [ "$upper" -gt "$lower" ]
}

progress_stays_above() {
  add_through_open_dialog
  xdotool windowfocus --sync "$main" key ctrl+i
  options=$(find_window "^Options$") || fail "Ctrl+I showed no Options dialog"
  xdotool windowfocus --sync "$main" key ctrl+s
  progress=$(find_window "^Converting$") || fail "Ctrl+S showed no progress window"
  poll 25 above "$progress" "$main" || fail "the progress window did not come above the main window"
  above "$options" "$main" || fail "the Options dialog went below the main window: $(stacking | tr '\n' ' ')"
  shot 3-options-while-converting
  xdotool windowactivate --sync "$options" key Escape
  poll 25 not_visible "^Options$" || fail "the Options dialog took no key while converting"
  # Beside the progress window, on the disabled main window.
  xdotool mousemove --window "$main" --sync 40 420 click 1
  sleep 0.5
  shot 3-main-clicked
  visible "^Converting$" || fail "the progress window went away"
  above "$progress" "$main" || fail "the main window came over the progress window: $(stacking | tr '\n' ' ')"
  xdotool mousemove --window "$progress" --sync 369 195 click 1 # btnStop
  poll 50 windows_up 3 || fail "Stop asked nothing"
  xdotool key Return
  poll 150 stopped || fail "the progress window stayed after the stop"
}

inside() {
  openbox --sm-disable >/dev/null 2>&1 &
  poll 50 wm_running || { echo "openbox did not start" >&2; exit 1; }
  start_program
  shot 1-main
  click_stays background 360 100
  click_stays title 250 45
  click_stays timeline 150 243
  click_stays "window's foot" 100 446
  drag_moves title 250 45
  drag_moves "status line" 360 444
  progress_stays_above
  close_program
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

program_dir=$1
skip_without xvfb-run openbox xdotool xprop ffmpeg
copy_program "$program_dir"
# An hour of sound, so that the conversion still runs while the windows are looked at.
source_file="$work/media/long.mov"
ffmpeg -v error -f lavfi -i testsrc=duration=3600:size=32x32:rate=1 -f lavfi -i sine=duration=3600:sample_rate=8000 \
  -c:v mpeg4 -c:a pcm_s16le -shortest "$source_file"

SOURCE=$source_file PROGRAM="$work/Kelvane/kelvane" LOG="$work/Kelvane/log.txt" \
  SETTINGS="$work/Kelvane/Config/UserSettings.ini" \
  timeout 200 xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside
echo "ok: clicks leave the window in place, a drag moves it and stops on release, the progress window stays on top," \
  "the Options dialog stays usable while converting"
