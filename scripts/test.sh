#!/bin/sh
# Installs what is needed, builds, and runs every test: on the release build
# in ./build, then, after the package check, on the build checked by the
# sanitizers in ./build-asan (scripts/sanitize.sh).
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$(nproc)" --timeout 300
./scripts/package-check.sh
./scripts/sanitize.sh
