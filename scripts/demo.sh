#!/bin/sh
# Installs what is needed, builds, and runs the main job on the bundled demo
# data.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
./build/tools/kestrel-demo-collection examples/demo.dat build/demo
./build/src/cli/kestrel-cli scan --datfile examples/demo.dat \
  --rom-path build/demo/roms --sample-path build/demo/samples \
  --data-folder build/demo --temp-folder build/demo --check-case || [ $? -eq 1 ]
