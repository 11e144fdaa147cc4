#!/bin/bash
# run_trial.sh WORKDIR LAYOUT KESTREL_CLI [MAME]
# Runs MAME's audit and Kestrel's scan on WORKDIR/LAYOUT (made by
# make_collection.py), one after the other, and leaves mame-roms.txt,
# mame-samples.txt and kestrel.txt there.
set -u
W=$1; L=$2; K=$3; MAME=${4:-/usr/games/mame}
D=$W/$L
cd "$D" || exit 1
# MAME's -verifyroms/-verifysamples take one pattern; "*" audits every set in
# the list against this collection, and compare.py keeps the collection's sets.
/usr/bin/time -f '%e s' -o mame-time.txt nice -n 5 "$MAME" -verifyroms '*' -rompath "$D/roms" \
    -samplepath "$D/samples" > mame-roms.txt 2>&1
nice -n 5 "$MAME" -verifysamples '*' -rompath "$D/roms" -samplepath "$D/samples" > mame-samples.txt 2>&1
rm -rf "$D/kdata" "$D/ktmp"; mkdir -p "$D/kdata" "$D/ktmp"
/usr/bin/time -f '%e s' -o kestrel-time.txt nice -n 5 "$K" --answer no scan --datfile "$W/mame.xml" \
    --rom-path "$D/roms" --sample-path "$D/samples" --set-type "$L" --verdicts \
    --no-zero-crc-creation --data-folder "$D/kdata" --temp-folder "$D/ktmp" \
    > kestrel.txt 2> kestrel-err.txt
echo "$L: kestrel rc=$? ($(cat kestrel-time.txt)), mame $(cat mame-time.txt)"
