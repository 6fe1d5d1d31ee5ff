#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang and runs each for SECONDS on its
# seeds and its growing corpus. Any finding (a crash, a hang, a sanitizer
# report, a broken invariant) fails the run and leaves the input in
# build-fuzz/fuzz/findings/.
# Usage: fuzz/run_fuzzers.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?"Aufruf: fuzz/run_fuzzers.sh SEKUNDEN [ZIEL...]"}
shift
jobs=${KOMET_JOBS:-2}
build=build-fuzz
out=$build/fuzz

# target, seed directory, largest input in bytes
targets=(
  "rocket_sim rocket 27100"
  "document_load rocket 27000"
  "motor_database motor_database 16384"
  "options options 512"
  "eng_import eng 8192"
  "rse_import rse 16384"
  "parse_number parse_number 64"
  "line_printer line_printer 4096"
  "flightlog flightlog 16384"
)

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKOMET_BUILD_FUZZ=ON -DKOMET_BUILD_GUI=OFF -DKOMET_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$jobs" --target komet_fuzzers

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$out/findings" "$out/logs"
failed=0
for entry in "${targets[@]}"; do
  read -r name seeds maxlen <<<"$entry"
  if (($#)) && [[ " $* " != *" $name "* ]]; then continue; fi
  mkdir -p "$out/corpus/$name"
  log=$out/logs/$name.log
  if "$out/fuzz_$name" -max_total_time="$seconds" -max_len="$maxlen" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$out/findings/$name-" \
    "$out/corpus/$name" "$out/seeds/$seeds" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    printf '%-16s %10s Läufe %7s/s  ohne Befund\n' "$name" "$runs" "$rate"
  else
    failed=1
    echo "$name: BEFUND (Protokoll $log)"
    grep -E "invariant broken|runtime error|ERROR: |SUMMARY|Test unit written" "$log" | head -n 8 || true
  fi
done
exit $failed
