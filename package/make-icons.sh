#!/usr/bin/env bash
# Renders the desktop icon package/icons/qovcom.svg into the PNG sizes the package installs
# (package/icons/qovcom-<N>.png). Run it after changing the SVG and commit the PNGs; the build
# only copies them. Needs rsvg-convert (apt-get install librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --output "qovcom-$size.png" qovcom.svg
done
