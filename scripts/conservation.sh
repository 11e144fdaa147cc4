#!/bin/sh
# Runs the conservation test over N random seeds (default 200): random
# collections through random series of rebuilds, merges and repairs, some
# broken off by injected faults, each checked to lose no content.
#
#   [KESTREL_CONSERVATION_TOOLS=rebuild,merged,split,unmerge,scan] scripts/conservation.sh [N] [FIRST_SEED]
#
# Builds conservation_tests into ./build (BUILD_DIR overrides) unless
# KESTREL_NO_BUILD is set. Seeds start at FIRST_SEED (default: random) and
# count up, so a run is repeated by giving the same FIRST_SEED. Prints each
# failing seed with the command that reruns it alone and what it lost, then
# "conservation: N passed, N failed"; exits 1 when any seed failed.
set -e
cd "$(dirname "$0")/.."
count=${1:-200}
first=${2:-$(od -An -N3 -tu4 /dev/urandom | tr -d ' ')}
build=${BUILD_DIR:-build}
if [ -z "$KESTREL_NO_BUILD" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j2 --target conservation_tests >/dev/null
fi
program="$build/tests/conservation_tests"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

echo "conservation: seeds $first to $((first + count - 1))${KESTREL_CONSERVATION_TOOLS:+, tools $KESTREL_CONSERVATION_TOOLS}"
passed=0
failed=0
seed=$first
while [ "$seed" -lt $((first + count)) ]; do
  if KESTREL_CONSERVATION_SEEDS=$seed "$program" --gtest_filter='*ChosenSeeds*' >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED seed $seed: KESTREL_CONSERVATION_SEEDS=$seed${KESTREL_CONSERVATION_TOOLS:+ KESTREL_CONSERVATION_TOOLS=$KESTREL_CONSERVATION_TOOLS} $program --gtest_filter='*ChosenSeeds*'"
    sed -n '/^failures:/,/^\[/p' "$log" | grep -v '^\[' | cut -c1-300
  fi
  seed=$((seed + 1))
done
echo "conservation: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
