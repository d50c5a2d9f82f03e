#!/usr/bin/env bash
# Renders the program icon from neloclock.svg into the PNG sizes the program
# ships: 16, 32 and 64 for the window and the notification area, and every
# size of the installed icon theme (packaging/linux).
# Needs rsvg-convert (Debian package librsvg2-bin). Run it after editing the
# SVG and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
        --output "neloclock-$size.png" neloclock.svg
done
