#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time of komet under Xvfb: from launching the process to the first
# painted flight of a bundled rocket, over several runs.
#   bench/komet_startup.sh [BUILD_DIR] [RUNS]
set -eu
build=${1:-build}
runs=${2:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
rocket="$root/examples/rockets/einstufig_c6.kmw"
display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb' EXIT
sleep 1
echo "run  process_ms  in_main_ms"
i=1
while [ "$i" -le "$runs" ]; do
  start=$(date +%s%N)
  inside=$(DISPLAY=$display KOMET_EXIT_AFTER_FIRST_PAINT=1 "$build/komet" "$rocket" 2>/dev/null)
  end=$(date +%s%N)
  echo "$i  $(( (end - start) / 1000000 ))  $inside"
  i=$((i + 1))
done
