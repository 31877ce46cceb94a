#!/usr/bin/env bash
# End-to-end: starts the real program from a copy of its folder on a virtual X screen, finds the
# main window by its title "Kelvane 1.0", ticks "Shutdown computer when job is finished." and
# closes the window with its close button. The settings file must then hold the box; a second
# start and close must keep it (the settings survive a restart).
# Usage: e2e_startup.sh <program folder>. Exit 77 (skipped) without xvfb-run or xdotool.
set -euo pipefail
# shellcheck source=SCRIPTDIR/../common/e2e_helpers.sh
source "$(dirname "${BASH_SOURCE[0]}")/../common/e2e_helpers.sh"

if [ "${1:-}" = --inside ]; then
  start_program
  if [ "$CLICK" = 1 ]; then
    xdotool mousemove --window "$main" --sync 330 233 click 1 # caption of chkShutdown
  fi
  close_program
  exit 0
fi

program_dir=$1
skip_without xvfb-run xdotool
copy_program "$program_dir"
settings="$work/Kelvane/Config/UserSettings.ini"

# run_once <click the shutdown caption: 1/0>
run_once() {
  CLICK=$1 PROGRAM="$work/Kelvane/kelvane" timeout 90 xvfb-run -a "$0" --inside
}

expected() {
  printf '\r\n[USRInfo]\r\nSHWDDir=0\r\nSHUTDOWN=%s\r\nOutDir=%s/Kelvane\r\n' "$1" "$HOME"
}

run_once 1
cmp <(expected 1) "$settings" || { echo "settings after the first run:"; cat -A "$settings"; exit 1; }
run_once 0
cmp <(expected 1) "$settings" || { echo "settings after the restart:"; cat -A "$settings"; exit 1; }
echo "ok: window found, settings written and kept across a restart"
