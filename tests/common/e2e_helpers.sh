# shellcheck shell=bash
# Sourced by the end-to-end scripts (tests/app/e2e_*.sh, tests/packaging/e2e_installed.sh): the
# program on a virtual X screen, looked at with xdotool, and waited for by what it shows.
# Every wait is a bounded poll on something observable: a window's title appearing or going, the
# number of the program's windows, a line in a file, a picture.
# The scripts set, as far as they use them: PROGRAM (the program to start), SOURCE (the video
# added), SETTINGS (UserSettings.ini), LOG (log.txt), SHOTS (a folder for a picture per step).
# start_program sets pid (the program) and main (its main window).

# poll <tries> <command...>: runs the command every 0.2 s until it succeeds; false after <tries>.
poll() {
  local tries=$1 i
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
  local id i
  for ((i = 0; i < 150; i++)); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# writing_into <folder>: some process has a file in the folder open, as an encoder has its output
# (which has no name there until it is complete). writers_into <folder>: their process ids.
# (Processes come and go during the search, so find's status says nothing.)
writers_into() { { find /proc/[0-9]*/fd -lname "$1/*" 2>/dev/null || true; } | cut -d/ -f3 | sort -u; }
writing_into() { [ -n "$(writers_into "$1")" ]; }
# ended <pid>: the process has ended (one that was not reaped yet, a zombie, has ended too).
ended() { [ ! -r "/proc/$1/stat" ] || [ "$(sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | cut -c1)" = Z ]; }

visible() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
not_visible() { ! visible "$1"; }
shot() { [ -z "${SHOTS:-}" ] || import -window root "$SHOTS/$1.png"; }
fail() { echo "$1" >&2; shot failure; [ -z "${pid:-}" ] || kill "$pid" 2>/dev/null || true; exit 1; }

# window_at <window>: the window's top-left corner on the screen, as "x y".
window_at() { xdotool getwindowgeometry --shell "$1" | sed -n 's/^[XY]=//p' | paste -sd ' '; }

# Pictures, for the scripts that set WORK (a folder of their own); they need ImageMagick.
# grab <name> <window> <width>x<height>+<x>+<y>: that part of the window as $WORK/<name>.png.
grab() {
  local w h x y left top
  IFS='x+' read -r w h x y <<<"$3"
  read -r left top <<<"$(window_at "$2")"
  # shellcheck disable=SC2153 # WORK comes from the script (the inside run), not copy_program's work
  import -window root -crop "${w}x${h}+$((left + x))+$((top + y))" +repage "$WORK/$1.png"
}
# differing <name> <name>: the number of pixels that differ between two grabs (beyond a little noise).
differing() { compare -metric AE -fuzz 8% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1 || true; }
# measure <name> <expression>: the value of an ImageMagick fx expression over a grab ('mean>0.1'
# gives 1 or 0). ImageMagick's convert is named as a command: a script may have a function so named.
measure() { command convert "$WORK/$1.png" -format "%[fx:$2]" info:; }

# Exactly this many of the program's windows are up. A window the program shows in answer to a
# closing one (the busy window after the open dialog) is mapped in the same batch of requests as
# the other is unmapped, so no look falls between the two. Counted only once the state that
# closes the other windows has been seen (the splash gone, the added folder stored, a log line).
windows_up() { [ "$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l)" = "$1" ]; }
only_main() { windows_up 1; }
logged() { grep -qF "$1" "$LOG" 2>/dev/null; }
# The adding is over: the program stores the folder of the added file when the busy window closes.
added() { grep -qF "InitDir=$(dirname "$SOURCE")/" "$SETTINGS" 2>/dev/null && only_main; }
stopped() { logged "Conversion stopped: $SOURCE" && only_main; }

# Starts the program (with the files given, if any) and waits for its main window, with the
# splash gone and nothing else up.
start_program() {
  "$PROGRAM" "$@" &
  pid=$!
  main=$(find_window "^Kelvane 1\.0$") || fail "no window titled Kelvane 1.0"
  poll 50 not_visible "^Kelvane$" || fail "the splash did not go"
  poll 50 only_main || fail "a window other than the main window is up after the start"
}

# Ctrl+O, the path of $SOURCE typed into the open dialog's file-name box, Enter; waits until the
# file is in the list.
add_through_open_dialog() {
  xdotool windowfocus --sync "$main" key ctrl+o
  dialog=$(find_window "^Open$") || fail "Ctrl+O showed no open dialog"
  # "File name:" takes the keyboard with Alt+N; typed elsewhere the path would move the folder view.
  xdotool windowfocus --sync "$dialog" key alt+n
  xdotool key ctrl+a type --delay 20 "$SOURCE"
  shot 2-open-dialog
  xdotool key Return
  # A completion list open over the box takes the first Return.
  poll 25 not_visible "^Open$" || { xdotool key Return; poll 50 not_visible "^Open$"; } ||
    fail "the open dialog did not take the typed path"
  poll 150 added || fail "the file was not added"
  shot 3-main-with-row
}

# The close button of the main window; the program must end with status 0.
close_program() {
  xdotool mousemove --window "$main" --sync 652 40 click 1 # btnWindowClose
  timeout 30 tail --pid="$pid" -f /dev/null || fail "the program did not end after its close button"
  wait "$pid" || fail "the program ended with status $?"
}

# copy_program <program folder>: sets work to a fresh temporary folder (removed when the script
# ends) holding a copy of the program folder as $work/Kelvane, an empty HOME ($work/home) and
# $work/media for the videos the script makes.
copy_program() {
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  cp -r "$1" "$work/Kelvane"
  export HOME="$work/home"
  mkdir -p "$HOME" "$work/media"
}

# skip_without <tool...>: ends the test as skipped (status 77) when one of the tools is missing.
skip_without() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}
