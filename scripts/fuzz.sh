#!/bin/sh
# Builds the fuzz harnesses of tests/fuzz with clang and the sanitizers into
# ./build-fuzz and runs each for SECONDS (default 30), or only the named
# ones. Every harness starts from its seeds (tests/fuzz/seeds/<name>/ and
# those make_fuzz_seeds writes) and keeps what it learns in
# build-fuzz/corpus/<name>/.
#
#   scripts/fuzz.sh [SECONDS] [HARNESS...]
#
# Prints each harness's runs, executions per second and coverage, then
# "fuzz: N passed, N failed". Exits 1 when any harness met a crash, a leak,
# a timeout (10 s for one input) or an out-of-memory (2 GB); the input that
# did it is left as build-fuzz/findings/<name>-<kind>-<hash>, and the log
# beside it.
set -e
cd "$(dirname "$0")/.."
seconds=${1:-30}
[ $# -gt 0 ] && shift
build=build-fuzz
CC=${FUZZ_CC:-clang} CXX=${FUZZ_CXX:-clang++} cmake -S . -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTREL_BUILD_FUZZERS=ON \
  -DKESTREL_BUILD_TESTS=OFF -DKESTREL_BUILD_BENCH=OFF -DKESTREL_BUILD_GUI=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzzers >/dev/null
mkdir -p "$build/findings" "$build/seeds"
"$build/tests/fuzz/make_fuzz_seeds" . "$build/seeds"

names="$*"
if [ -z "$names" ]; then
  for source in tests/fuzz/*_fuzzer.cpp; do names="$names $(basename "$source" .cpp)"; done
fi

passed=0
failed=0
for name in $names; do
  corpus="$build/corpus/$name"
  log="$build/findings/$name.log"
  mkdir -p "$corpus"
  set -- -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$build/findings/$name-" "$corpus"
  [ -f "tests/fuzz/$name.dict" ] && set -- -dict="tests/fuzz/$name.dict" "$@"
  for seeds in "tests/fuzz/seeds/$name" "$build/seeds/$name"; do
    [ -d "$seeds" ] && set -- "$@" "$seeds"
  done
  result=ok
  "$build/tests/fuzz/$name" "$@" >"$log" 2>&1 || result=FAILED
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  printf '%-24s %-6s runs %s, %s executions/s, cov %s\n' "$name" "$result" \
    "${runs:-?}" "${speed:-?}" "${cov:-?}"
  if [ "$result" = ok ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    grep -E '^(==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' "$log" || tail -n 20 "$log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
