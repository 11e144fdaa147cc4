#!/bin/sh
# Configures and builds Kestrel into ./build (Release, with tests).
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
