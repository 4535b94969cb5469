#!/usr/bin/env bash
# Makes the user guide's screenshots again: the windows at work against the stand-in instruments
# on a virtual display, written to docs/images as small PNGs. Installs what it needs first.
# Usage: scripts/screenshots.sh <build folder holding the screenshots tool>
set -euo pipefail
build=${1:-build/release}
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/docs/images"

missing=()
for tool in xvfb-run:xvfb xauth:xauth optipng:optipng; do
  command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=()
  [ "$(id -u)" -eq 0 ] || SUDO=(sudo)
  "${SUDO[@]}" apt-get update
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

mkdir -p "$out"
# The same look wherever it runs: Qt's own style on a plain X display, not the desktop's theme.
env -u QT_STYLE_OVERRIDE -u QT_QPA_PLATFORMTHEME -u QT_SCALE_FACTOR -u XDG_CURRENT_DESKTOP \
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" "$build/screenshots" "$out"
optipng -quiet -o2 "$out"/*.png
