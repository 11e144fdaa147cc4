#!/bin/sh
# Draws the desktop program's windows into PNG files for the documentation.
# Usage: tools/screenshots.sh [build folder] [output folder]
# Needs no display: Qt's offscreen platform renders the windows.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-gui}
out=${2:-$root/docs/screenshots}

if [ ! -x "$build/src/gui/kestrel" ]; then
  cmake -S "$root" -B "$build" -DKESTREL_BUILD_GUI=ON >/dev/null
  cmake --build "$build" --target kestrel -j2
fi
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/src/gui/kestrel" --screenshots "$out" 2>/dev/null
ls -l "$out"/*.png
