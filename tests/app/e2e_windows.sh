#!/usr/bin/env bash
# End-to-end under a window manager (openbox) on a virtual X screen: how the main window moves
# and which window stays on top.
# - A click on the window's background, its title, the timeline or its foot leaves the window
#   where it is, also while the pointer goes on moving; a drag by the title moves the window with
#   the pointer from the step that passed the drag distance on, and it stays put once the button
#   is up.
# - During a conversion, a click on the disabled main window leaves the progress window above it.
# Usage: e2e_windows.sh <program folder>. Exit 77 (skipped) without xvfb-run, openbox, xdotool,
# xprop or ffmpeg. With SHOTS=<folder> set, a picture of the screen is saved there at every step.
set -euo pipefail

poll() {
  local tries=$1
  shift
  for ((i = 0; i < tries; i++)); do
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# find_window <title pattern>: the id of a visible window so titled, looked for for up to 30 s. A
# search can fail while windows come and go (the splash), so it is simply repeated.
find_window() {
  local id
  for ((i = 0; i < 150; i++)); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

shot() { [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$1.png"; }
fail() { echo "$1" >&2; shot failure; kill "$pid" 2>/dev/null || true; exit 1; }
visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
not_visible() { ! visible "$1"; }
windows_up() { [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" = "$1" ]; }
settled() { windows_up 1 && sleep 0.2 && windows_up 1; }
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The main window's top-left corner on the screen, as "x y".
position() {
  eval "$(xdotool getwindowgeometry --shell "$main")"
  echo "$X $Y"
}

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

# Drags the title by 90, 60 in steps of 15, 10, releases, lets the pointer wander. The window
# manager takes over once a step has passed the drag distance (the first one, or the second
# when the program is slow to see it) and moves the window with the rest of the drag; after the
# release the window stays where the drag left it.
drag_moves() {
  local bx by ax ay dx dy released
  read -r bx by <<<"$(position)"
  xdotool mousemove --window "$main" --sync 250 45 mousedown 1
  xdotool mousemove_relative --sync 15 10
  sleep 0.5
  for _ in 1 2 3 4 5; do
    xdotool mousemove_relative --sync 15 10
    sleep 0.05
  done
  sleep 0.3
  xdotool mouseup 1
  sleep 0.3
  released=$(position)
  xdotool mousemove_relative --sync 100 50
  sleep 0.3
  [ "$(position)" = "$released" ] || fail "the window went on moving after the button was up"
  read -r ax ay <<<"$released"
  dx=$((ax - bx))
  dy=$((ay - by))
  [ "$dx" -ge 60 ] && [ "$dx" -le 90 ] && [ "$dy" -ge 40 ] && [ "$dy" -le 60 ] ||
    fail "a drag by 90,60 moved the window by $dx,$dy"
  shot 2-dragged
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
  xdotool windowfocus --sync "$main" key ctrl+o
  dialog=$(find_window "^Open$") || fail "Ctrl+O showed no open dialog"
  xdotool windowfocus --sync "$dialog" key alt+n
  xdotool key ctrl+a type --delay 20 "$SOURCE"
  xdotool key Return
  poll 25 not_visible "^Open$" || { xdotool key Return; poll 50 not_visible "^Open$"; } ||
    fail "the open dialog did not take the typed path"
  poll 150 settled || fail "the file was not added"
  xdotool windowfocus --sync "$main" key ctrl+s
  progress=$(find_window "^Converting$") || fail "Ctrl+S showed no progress window"
  sleep 0.5
  # Beside the progress window, on the disabled main window.
  xdotool mousemove --window "$main" --sync 40 420 click 1
  sleep 0.5
  shot 3-main-clicked
  visible "^Converting$" || fail "the progress window went away"
  above "$progress" "$main" || fail "the main window came over the progress window: $(stacking | tr '\n' ' ')"
  xdotool mousemove --window "$progress" --sync 369 195 click 1 # btnStop
  poll 50 windows_up 3 || fail "Stop asked nothing"
  xdotool key Return
  poll 150 settled || fail "the progress window stayed after the stop"
}

inside() {
  openbox --sm-disable >/dev/null 2>&1 &
  poll 50 wm_running || { echo "openbox did not start" >&2; exit 1; }
  "$PROGRAM" &
  pid=$!
  main=$(find_window "^Kelvane 1\.0$") || fail "no window titled Kelvane 1.0"
  poll 50 settled || fail "the splash did not go"
  shot 1-main
  click_stays background 360 100
  click_stays title 250 45
  click_stays timeline 150 243
  click_stays "window's foot" 100 446
  drag_moves
  progress_stays_above
  xdotool mousemove --window "$main" --sync 652 40 click 1 # btnWindowClose
  timeout 30 tail --pid="$pid" -f /dev/null || fail "the program did not end after its close button"
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

program_dir=$1
for tool in xvfb-run openbox xdotool xprop ffmpeg; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir" "$work/Kelvane"
export HOME="$work/home"
mkdir -p "$HOME" "$work/media"
# An hour of sound, so that the conversion still runs while the windows are looked at.
source_file="$work/media/long.mov"
ffmpeg -v error -f lavfi -i testsrc=duration=3600:size=32x32:rate=1 -f lavfi -i sine=duration=3600:sample_rate=8000 \
  -c:v mpeg4 -c:a pcm_s16le -shortest "$source_file"

SOURCE=$source_file PROGRAM="$work/Kelvane/kelvane" \
  timeout 200 xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside
echo "ok: clicks leave the window in place, a drag moves it and stops on release, the progress window stays on top"
