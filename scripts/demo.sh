#!/bin/sh
# Installs what is needed, builds, and runs the main job on the bundled demo
# data.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
./build/src/cli/kestrel-cli info --datfile examples/demo.dat
