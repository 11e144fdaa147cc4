#!/bin/sh
# Draws the desktop program's windows into PNG files for the documentation.
# Usage: tools/screenshots.sh [build folder] [output folder]
# Needs no display: Qt's offscreen platform renders the windows. The scanner
# pictures come from a real scan of the demo collection, made afresh in a
# scratch folder from examples/demo.dat.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-gui}
out=${2:-$root/docs/screenshots}

if [ ! -x "$build/src/gui/kestrel" ] || [ ! -x "$build/tools/kestrel-demo-collection" ]; then
  cmake -S "$root" -B "$build" -DKESTREL_BUILD_GUI=ON >/dev/null
  cmake --build "$build" --target kestrel kestrel-demo-collection -j2
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$build/tools/kestrel-demo-collection" "$root/examples/demo.dat" "$scratch/demo" >/dev/null
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/src/gui/kestrel" --screenshots "$out" \
  "$root/examples/demo.dat" "$scratch/demo/" 2>/dev/null
ls -l "$out"/*.png
