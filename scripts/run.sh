#!/usr/bin/env bash
# Builds NeloClock (release) and starts it. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh run
cmake --preset release
cmake --build --preset release
exec build/release/bin/NeloClock "$@"
