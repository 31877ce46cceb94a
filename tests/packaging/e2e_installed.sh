#!/usr/bin/env bash
# End-to-end: the program installed with `cmake --install` into a prefix that nobody may write to
# (run as the user "nobody" when the tests run as root), started through <prefix>/bin/kelvane with
# a WebM video on its command line, as a file manager's "Open with Kelvane" starts it. The video
# must be in the list when the window shows: Ctrl+S converts it into ~/Kelvane, the close button
# ends the program. The settings must then be in ~/.config/Kelvane/Config, the log (saying where
# the files are, and the command) in ~/.local/state/Kelvane, and the installed tree unchanged.
# Usage: e2e_installed.sh <build folder>. Exit 77 (skipped) without xvfb-run, xdotool or ffmpeg.
set -euo pipefail

# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

started_or_refused() { visible "^Converting$" || test -f "$OUTPUT" || visible "^Kelvane$"; }
press_convert() {
  xdotool windowfocus --sync "$main" key ctrl+s
  poll 50 started_or_refused || fail "Ctrl+S did nothing"
  if visible "^Kelvane$"; then
    xdotool key Return
    poll 50 not_visible "^Kelvane$" || fail "the message did not close"
    return 1
  fi
}

# On the virtual screen, as the user who runs the program.
inside() {
  "$PROGRAM" "$SOURCE" &
  pid=$!
  main=$(find_window "^Kelvane 1\.0$") || fail "no window titled Kelvane 1.0"
  # The splash shares its title with the program's messages.
  poll 50 not_visible "^Kelvane$" || fail "the splash did not go"
  # The file is measured once the window shows: Convert pressed before it is in the list says
  # that the list is empty; the message is answered and Convert pressed again.
  poll 20 press_convert || fail "the file from the command line never came into the list"
  poll 150 test -f "$OUTPUT" || fail "no output file $OUTPUT"
  poll 150 not_visible "^Converting$" || fail "the progress window stayed"
  close_program
}

if [ "${1:-}" = --inside ]; then
  inside
  exit 0
fi

build=$1
skip_without xvfb-run xdotool ffmpeg
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
chmod 755 "$work"
prefix="$work/usr"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }
chmod -R a-w "$prefix"
before=$(cd "$prefix" && find . | sort)

home="$work/home"
mkdir -p "$home" "$work/media"
source_file="$work/media/holiday clip.webm"
ffmpeg -v error -f lavfi -i testsrc=duration=2:size=160x120:rate=10 -f lavfi -i sine=duration=2 \
  -c:v libvpx -deadline realtime -c:a libopus -shortest "$source_file"
as_user=()
if [ "$(id -u)" = 0 ]; then
  chown -R 65534:65534 "$home"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
output="$home/Kelvane/holiday clip.amr"

"${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME= XDG_STATE_HOME= SOURCE="$source_file" OUTPUT="$output" \
  PROGRAM="$prefix/bin/kelvane" timeout 150 xvfb-run -a -s "-screen 0 1024x640x24" "$0" --inside

# The command-line converter of the same installation, without a display: the window's output
# folder from the user's settings (where the window's .amr already holds the name), its log lines
# in the user's log.
"${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME= XDG_STATE_HOME= DISPLAY= timeout 150 \
  "$prefix/bin/kelvane-convert" --type wav "$source_file" || { echo "kelvane-convert failed"; exit 1; }
[ -f "$home/Kelvane/holiday clip_1.wav" ] || { echo "kelvane-convert wrote no holiday clip_1.wav"; find "$home"; exit 1; }

[ "$(cd "$prefix" && find . | sort)" = "$before" ] || { echo "the installed tree changed"; exit 1; }
settings="$home/.config/Kelvane/Config/UserSettings.ini"
[ -f "$settings" ] || { echo "no settings file $settings"; find "$home"; exit 1; }
log="$home/.local/state/Kelvane/log.txt"
[ -f "$log" ] || { echo "no log $log"; find "$home"; exit 1; }
grep -qF "|Settings are kept in $home/.config/Kelvane/Config/, the log and the script in $home/.local/state/Kelvane/" "$log" ||
  { echo "the log does not say where the files are:"; cat "$log"; exit 1; }
grep -q "parameter: .*holiday clip.webm" "$log" || { echo "no conversion in the log:"; cat "$log"; exit 1; }
grep -q "parameter: .*holiday clip_1.wav" "$log" || { echo "no kelvane-convert line in the log:"; cat "$log"; exit 1; }
echo "ok: installed read-only, started with a file on the command line, converted, files in the user's folders; kelvane-convert too"
