#!/usr/bin/env bash
# Renders the program icon from neloclock.svg into the PNG sizes the program
# ships (window, notification area, and a larger one for high-density screens).
# Needs rsvg-convert (Debian package librsvg2-bin). Run it after editing the
# SVG and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 64; do
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio \
        --output "neloclock-$size.png" neloclock.svg
done
