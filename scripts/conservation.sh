#!/bin/sh
# Runs the conservation test over N random seeds (default 200): random
# collections through random series of rebuilds, merges and repairs, some
# broken off by injected faults, each checked to lose no content.
#
#   [KESTREL_CONSERVATION_TOOLS=rebuild,merged,split,unmerge,scan] scripts/conservation.sh [N] [FIRST_SEED]
#
# Each seed runs with all tools and once more with one tool alone (all runs
# with the tools named, when given). Builds conservation_tests into ./build
# (BUILD_DIR overrides) unless KESTREL_NO_BUILD is set. Seeds start at
# FIRST_SEED (default: random) and count up, so a run is repeated by giving
# the same FIRST_SEED. Prints each failing run with the command that reruns
# it alone and what it lost (KESTREL_CONSERVATION_KEEP=1 keeps its folders),
# then "conservation: N passed, N failed" over the runs; exits 1 when any
# run failed.
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
# Runs one seed with the given tools ("" for all); counts and reports it.
run_seed() {
  if KESTREL_CONSERVATION_SEEDS=$1 KESTREL_CONSERVATION_TOOLS=$2 "$program" --gtest_filter='*ChosenSeeds*' >"$log" 2>&1; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED seed $1${2:+ ($2 only)}: KESTREL_CONSERVATION_SEEDS=$1${2:+ KESTREL_CONSERVATION_TOOLS=$2} $program --gtest_filter='*ChosenSeeds*'"
    sed -n '/^failures:/,/^\[/p' "$log" | grep -v '^\[' | cut -c1-300
    # No failure list: the program itself crashed or hung.
    if ! grep -q '^failures:' "$log"; then echo "  crashed; its last lines:"; tail -3 "$log"; fi
  fi
}
tools="rebuild merged split unmerge scan"
seed=$first
while [ "$seed" -lt $((first + count)) ]; do
  if [ -n "$KESTREL_CONSERVATION_TOOLS" ]; then
    run_seed "$seed" "$KESTREL_CONSERVATION_TOOLS"
  else
    # Every seed runs with all tools, and once more with one tool alone:
    # steps of other tools often repair what that one would have met.
    run_seed "$seed" ""
    run_seed "$seed" "$(echo $tools | cut -d' ' -f$((seed % 5 + 1)))"
  fi
  seed=$((seed + 1))
done
echo "conservation: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
