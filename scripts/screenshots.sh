#!/usr/bin/env bash
# Makes the user guide's screenshots again: the windows at work against the stand-in instruments
# on a virtual display, written to docs/images as small PNGs. Installs what it needs first.
# Usage: scripts/screenshots.sh <build folder holding the screenshots tool>
set -euo pipefail
build=${1:-build/release}
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/images"

"$root/scripts/install-deps.sh" optipng

mkdir -p "$out"
# The same look wherever it runs: Qt's own style on a plain X display, not the desktop's theme.
env -u QT_STYLE_OVERRIDE -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR -u XDG_CURRENT_DESKTOP \
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$build/screenshots" "$out"
optipng -quiet -o2 "$out"/*.png
