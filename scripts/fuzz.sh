#!/usr/bin/env bash
# Builds the libFuzzer target with clang and runs it.
#   scripts/fuzz.sh [seconds]     (default 600)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
scripts/deps.sh test
cmake --preset fuzz
cmake --build --preset fuzz --target fuzz_alarm_text
corpus=build/fuzz/corpus
mkdir -p "$corpus"
cp -n fuzz/samples/* "$corpus"/ 2>/dev/null || true
TZ=Asia/Shanghai build/fuzz/bin/fuzz_alarm_text -max_total_time="$seconds" -max_len=4096 \
    -print_final_stats=1 "$corpus"
