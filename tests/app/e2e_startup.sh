#!/usr/bin/env bash
# End-to-end: starts the real program from a copy of its folder on a virtual X screen, finds the
# main window by its title "Kelvane 1.0", ticks "Shutdown computer when job is finished." and
# closes the window with its close button. The settings file must then hold the box; a second
# start and close must keep it (the settings survive a restart).
# Usage: e2e_startup.sh <program folder>. Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
program_dir=$1
for tool in xvfb-run xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$program_dir" "$work/Kelvane"
export HOME="$work/home"
mkdir -p "$HOME"
settings="$work/Kelvane/Config/UserSettings.ini"

# run_once <click the shutdown caption: 1/0>
run_once() {
  timeout 90 xvfb-run -a env CLICK="$1" PROGRAM="$work/Kelvane/kelvane" bash -c '
    set -eu
    "$PROGRAM" &
    pid=$!
    id=$(timeout 30 xdotool search --sync --onlyvisible --name "^Kelvane 1\.0$" | head -1)
    [ -n "$id" ] || { echo "no window titled Kelvane 1.0" >&2; kill $pid; exit 1; }
    if [ "$CLICK" = 1 ]; then
      xdotool mousemove --window "$id" --sync 330 233 click 1   # caption of chkShutdown
    fi
    xdotool mousemove --window "$id" --sync 652 40 click 1      # btnWindowClose
    wait $pid
  '
}

expected() {
  printf '\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=%s\r\nOutDir=%s/Kelvane\r\n' "$1" "$HOME"
}

run_once 1
cmp <(expected 1) "$settings" || { echo "settings after the first run:"; cat -A "$settings"; exit 1; }
run_once 0
cmp <(expected 1) "$settings" || { echo "settings after the restart:"; cat -A "$settings"; exit 1; }
echo "ok: window found, settings written and kept across a restart"
