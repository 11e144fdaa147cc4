#!/bin/bash
# trial.sh WORKDIR KESTREL_CLI [MAME [SEED]]
# The whole trial: MAME's list, four collections, both audits, the comparison.
# SEED (default 26) draws the machines and the faults: another seed, another
# collection, so that the figure is not one draw's.
set -u
W=$1; K=$2; MAME=${3:-/usr/games/mame}; SEED=${4:-26}
HERE=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$W"; cd "$W" || exit 1
[ -s mame.xml ] || nice -n 5 "$MAME" -listxml > mame.xml
[ -s machines.json ] || nice -n 5 python3 "$HERE/parse_listxml.py" mame.xml machines.json
for L in split merged non-merged full-non-merged; do
    nice -n 5 python3 "$HERE/make_collection.py" machines.json "$L" "$W/$L" --seed "$SEED" || exit 1
    "$HERE/run_trial.sh" "$W" "$L" "$K" "$MAME"
    python3 "$HERE/compare.py" machines.json "$W/$L" > /dev/null
    head -2 "$W/$L/compare.txt"; grep -m1 '^[a-z-]* sampleset' "$W/$L/compare.txt"
done
