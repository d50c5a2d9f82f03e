#!/usr/bin/env bash
# Prints NeloClock's performance figures: the scan, the alarm file and an
# added alarm at 32,767 lines, then whole-program start-up, memory and idle
# CPU under Xvfb. Reports timings; asserts nothing.
#   scripts/bench.sh [--peers] [--runs N] [--idle-seconds S]
#   --peers also installs and measures GNOME Clocks and KDE KAlarm.
set -euo pipefail
cd "$(dirname "$0")/.."

peers=0
for arg in "$@"; do [[ $arg == --peers ]] && peers=1; done

scripts/deps.sh test
extra=(libbenchmark-dev libx11-dev)
[[ $peers == 1 ]] && extra+=(gnome-clocks kalarm)
missing=()
for package in "${extra[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake --preset release >/dev/null
cmake --build --preset release

echo "== Alarm list at 32,767 lines (release build, zh_CN, TZ=Asia/Shanghai; median of 9) =="
LANG=zh_CN.UTF-8 TZ=Asia/Shanghai QT_QPA_PLATFORM=offscreen \
    build/release/bench-bin/bench_alarms --benchmark_format=json --benchmark_out=build/release/bench-alarms.json \
    --benchmark_out_format=json >/dev/null
python3 - build/release/bench-alarms.json <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
print("| operation | median (ms) |")
print("|---|---|")
for b in data["benchmarks"]:
    if b.get("aggregate_name") == "median":
        print(f"| {b['run_name'].split('/')[0][3:]} | {b['real_time']:.2f} |")
PY

echo
echo "== Whole program under Xvfb (warm-up, then median of the runs) =="
exec dbus-run-session -- python3 bench/measure_program.py --neloclock build/release/bin/NeloClock \
    --wait-for-map build/release/bench-bin/wait_for_map "$@"
