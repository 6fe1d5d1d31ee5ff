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

# Output that does not arrive is an error with its reason, standard output too.
full() {
  local status=0
  "$@" 2>"$work/err" || status=$?
  [ "$status" = 2 ] && grep -q 'kein Platz mehr' "$work/err" || { echo "$*: status $status"; cat "$work/err"; exit 1; }
}
for opt in --csv --json --png --svg --pdf; do full run "$rocket" "$opt" /dev/full; done
full run "$rocket" --csv - >/dev/full
full run "$rocket" >/dev/full
printf 'D12 24 70 0 0.0211 0.0442 Test\n0.1 20\n1.6 0\n' >"$work/D12.eng"
full run import "$work/D12.eng" -o /dev/full >/dev/null
[ -c /dev/full ] || { echo "/dev/full is no device any more"; exit 1; }
echo "ok"
