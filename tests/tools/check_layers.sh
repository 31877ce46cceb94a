#!/usr/bin/env bash
# The folders of src/ include one another in one direction only. The core's folders, from the
# bottom up: platform, support, settings, media, engine, services, app (and cli, the command-line
# program, beside it); each includes only itself and the ones below it, and no window. The windows' folders (<area>/widgets) may include the
# whole core, the skin (skin/widgets) and the windows of their own or a lower area.
# Prints every include against that order and fails when there is one.
set -euo pipefail
src=${1:-"$(cd "$(dirname "$0")/../../src" && pwd)"}
order=(platform support settings media engine services app)

rank() {
  [ "$1" = cli ] && set -- app                      # the command-line program stands beside the app
  local i
  for i in "${!order[@]}"; do
    if [ "${order[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

bad=0
while IFS= read -r line; do
  file=${line%%:*}
  target=${line#*\"}
  target=${target%\"*}
  from=${file#"$src"/}
  [ "$from" = app/main.cpp ] && continue          # the executable's entry, above everything
  area=${from%%/*}
  to_area=${target%%/*}
  [ "$to_area" = "$target" ] && continue          # a file of the same folder, included by name
  from_ui=0; [[ $from == */widgets/* ]] && from_ui=1
  to_ui=0; [[ $target == */widgets/* ]] && to_ui=1
  ok=1
  if [ "$from_ui" = 0 ]; then
    if [ "$to_ui" = 1 ] || [ "$(rank "$to_area")" -gt "$(rank "$area")" ] || [ "$(rank "$to_area")" -lt 0 ]; then
      ok=0
    fi
  elif [ "$to_ui" = 1 ] && [ "$to_area" != skin ]; then
    if [ "$area" = skin ] || [ "$(rank "$to_area")" -gt "$(rank "$area")" ]; then
      ok=0
    fi
  fi
  if [ "$ok" = 0 ]; then
    echo "$from includes $target"
    bad=1
  fi
done < <(grep -rHn --include='*.h' --include='*.cpp' '^#include "' "$src" | sed 's/:[0-9]*:/:/')
exit $bad
