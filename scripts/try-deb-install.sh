#!/usr/bin/env bash
# Outside CI, it takes minutes: makes a fresh Debian 12 root with debootstrap
# from the mirror this machine's apt uses, installs the package into it with
# `apt install ./neloclock_*.deb` and nothing else, starts the program the
# way the installed menu entry's Exec says, as an ordinary user, on an Xvfb
# screen, and takes a screenshot. Needs root (debootstrap, chroot).
#   scripts/try-deb-install.sh [package.deb]
# Leaves build/deb/try-install/screenshot.png and the program's output there.
set -euo pipefail
cd "$(dirname "$0")/.."

deb=$(realpath "${1:-$(ls build/deb/neloclock_*.deb | tail -n 1)}")
work=$PWD/build/deb/try-install
root=$work/root
needed=()
for tool in debootstrap:debootstrap Xvfb:xvfb xdotool:xdotool import:imagemagick openbox:openbox; do
    command -v "${tool%%:*}" >/dev/null || needed+=("${tool#*:}")
done
if [[ ${#needed[@]} -gt 0 ]]; then
    apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${needed[@]}"
fi
# The first Debian mirror apt is set up with, in either sources format.
mirror=$( (cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources 2>/dev/null || true) |
    sed -nE 's,^(deb|URIs:)\s+(\[[^]]*\]\s+)?(https?://[^ ]+/debian)/?(\s.*)?$,\3,p' | head -n 1)
[[ -n $mirror ]] || { echo "no Debian mirror in /etc/apt/sources.list*" >&2; exit 1; }

mounted=()
xvfb= program= manager=
cleanup() {
    [[ -n $program ]] && kill "$program" 2>/dev/null || true
    [[ -n $manager ]] && kill "$manager" 2>/dev/null || true
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" || true; done
}
trap cleanup EXIT
for point in proc sys dev/shm tmp/.X11-unix; do
    mountpoint -q "$root/$point" && umount -l "$root/$point"
done
rm -rf "$work"
mkdir -p "$work"

seconds() { echo $((SECONDS - $1)); }
start=$SECONDS
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1
echo "debootstrap bookworm from $mirror: $(seconds $start) s"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# The same suites as this machine (updates and security too).
rm -f "$root/etc/apt/sources.list"
cp /etc/apt/sources.list "$root/etc/apt/sources.list" 2>/dev/null || true
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
# No service starts inside the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod +x "$root/usr/sbin/policy-rc.d"
mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount -t sysfs sys "$root/sys" && mounted+=("$root/sys")
mount -t tmpfs shm "$root/dev/shm" && mounted+=("$root/dev/shm")
cp "$deb" "$root/tmp/"

start=$SECONDS
chroot "$root" apt-get update -q >"$work/apt.log" 2>&1
chroot "$root" env DEBIAN_FRONTEND=noninteractive apt install -y "./tmp/$(basename "$deb")" >>"$work/apt.log" 2>&1
echo "apt install ./$(basename "$deb"): $(seconds $start) s, $(grep -c '^Setting up' "$work/apt.log") packages set up"
du -shx "$root" | cut -f1 | sed 's/^/root size after the install: /'

chroot "$root" useradd --create-home --uid 4242 tester
exec_line=$(sed -n 's/^Exec=//p' "$root"/usr/share/applications/*.desktop | head -n 1)
mkdir -p "$root/tmp/.X11-unix"
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" && mounted+=("$root/tmp/.X11-unix")
Xvfb -displayfd 3 -screen 0 1024x700x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
display=:$(head -n 1 "$work/display")
# A window manager of this machine's, outside the root, draws the title bar.
DISPLAY=$display openbox --sm-disable >"$work/openbox.log" 2>&1 &
manager=$!
sleep 1

# The Exec line has no field codes and no arguments: it is run as it is.
chroot --userspec=4242:4242 "$root" env -i HOME=/home/tester USER=tester PATH=/usr/bin:/bin \
    DISPLAY="$display" LANG=C.UTF-8 $exec_line >"$work/program.log" 2>&1 &
program=$!
start=$SECONDS
until DISPLAY=$display xdotool search --onlyvisible --pid "$program" >/dev/null 2>&1; do
    (( SECONDS - start > 60 )) && { echo "no window after 60 s" >&2; tail "$work/program.log" >&2; exit 1; }
    sleep 0.5
done
echo "window of '$exec_line' after $(seconds $start) s"
sleep 5
DISPLAY=$display import -window root "$work/screenshot.png"
echo "screenshot: $work/screenshot.png"
