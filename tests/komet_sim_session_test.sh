#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# komet-sim in a bare session (no display, no runtime directory): it writes
# its own output and nothing else, numbers with the chosen separator, and the
# PDF footer's time without a time zone.
set -euo pipefail
sim=$1 rocket=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM TZ=UTC "$sim" "$@"; }

run "$rocket" --locale de >"$work/out" 2>"$work/err"
[ ! -s "$work/err" ] || { echo "stderr not empty:"; cat "$work/err"; exit 1; }
grep -q '^Gipfelhöhe: *[0-9]*,[0-9] m nach [0-9]*,[0-9][0-9] s$' "$work/out" || { cat "$work/out"; exit 1; }

# Under a chute the flight goes on to the landing, past the calculation period.
run "$rocket" --locale de --recovery parachute:300 --deploy delay:5 >"$work/out" 2>"$work/err"
[ ! -s "$work/err" ] || { echo "stderr not empty:"; cat "$work/err"; exit 1; }
grep -q '^Flugzeit: *[5-9][0-9],[0-9][0-9] s bis zur Landung$' "$work/out" || { cat "$work/out"; exit 1; }

run "$rocket" --locale de --svg "$work/p.svg" --pdf "$work/r.pdf" >"$work/out" 2>"$work/err"
[ ! -s "$work/err" ] && [ ! -s "$work/out" ] || { echo "output with pictures:"; cat "$work/out" "$work/err"; exit 1; }
grep -q '[0-9],[0-9][0-9] \[sec\]' "$work/p.svg" || { echo "no decimal comma in the plot"; exit 1; }
footer=$(pdftotext "$work/r.pdf" - | grep 'gedruckt am')
[[ $footer =~ [0-9]:[0-9][0-9]:[0-9][0-9]$ ]] || { echo "footer: $footer"; exit 1; }
echo "ok"
