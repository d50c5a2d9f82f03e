#!/usr/bin/env bash
# Builds NeloClock with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test. Installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh test
cmake --preset asan
cmake --build --preset asan
# The Debian package, built and checked, and its installed tree run on the
# end-to-end stage.
scripts/package.sh deb
/usr/bin/python3 tests/package/run_installed.py build/deb/neloclock_*.deb
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# A private session bus for the whole run, ended with it.
exec dbus-run-session -- ctest --preset asan "$@"
