#!/bin/sh
# Builds every library, program and test with AddressSanitizer and
# UndefinedBehaviorSanitizer (KESTREL_SANITIZE) into ./build-asan, Debug at
# -O1 without the benchmarks and fuzzers, and runs the whole suite on it, the
# desktop program's tests included on Qt's offscreen platform.
#
# A memory fault, a leak or any undefined behaviour ends the program that
# met it with status 86 and a report on standard error, so its test fails,
# also where a test runs kestrel-cli and looks at its status. Leaks inside
# the system's libraries (Qt, fontconfig) are suppressed by
# scripts/lsan.supp; a leak of ours never is.
#
# To run single tests in ./build-asan by hand, export the three *SAN_OPTIONS
# below first.
set -e
cd "$(dirname "$0")/.."
build=build-asan
export ASAN_OPTIONS="exitcode=86:detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="exitcode=86:halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DKESTREL_SANITIZE=ON \
  -DKESTREL_BUILD_BENCH=OFF -DKESTREL_BUILD_FUZZERS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
