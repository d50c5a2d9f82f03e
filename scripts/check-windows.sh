#!/usr/bin/env bash
# Compiles the Windows-only sources with MinGW-w64 (syntax and types, no
# object code) to catch mistakes the Linux build never sees. The few that
# meet Qt at their edge are checked against this machine's Qt headers, as
# there is no Windows Qt here.
set -euo pipefail
cd "$(dirname "$0")/.."

compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
    sudo=(); [[ $(id -u) -ne 0 ]] && sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends g++-mingw-w64-x86-64-posix
fi

qt=/usr/include/x86_64-linux-gnu/qt6
status=0
for file in $(git ls-files 'src/*_windows.cpp' src/reminders/shutdown_sequence.cpp); do
    flags=(-std=c++20 -Wall -Wextra -Werror -fsyntax-only -DQT_NO_KEYWORDS -DQT_NO_CAST_FROM_ASCII
           -Isrc/alarms -Isrc/schedule -Isrc/reminders -Isrc/desktop -Isrc/app
           -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets")
    if "$compiler" "${flags[@]}" "$file"; then
        echo "ok      $file"
    else
        echo "FAILED  $file"
        status=1
    fi
done
exit $status
