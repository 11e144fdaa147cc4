// The counters behind the statistics of one scan. The scan driver counts the
// totals over the whole database; the findings are counted while the result
// lines are built, so the numbers always agree with what the lines report.
#pragma once

#include <cstdint>

#include "gamedb/game_set.h"

namespace kestrel {

// How many sets got each of MAME's verdicts (see set_verdict.h); sets that
// need nothing are not counted.
struct VerdictCounts {
  int32_t good = 0;
  int32_t bestAvailable = 0;
  int32_t bad = 0;
  int32_t notFound = 0;
};

struct ScanStatistics {
  // Totals over every set of the database, selected or not.
  int32_t games = 0;
  int32_t neoGeoGames = 0;
  int32_t arcadeGames = 0;
  int32_t arcadeRoms = 0;
  int32_t neoGeoRoms = 0;
  int32_t samples = 0;
  int32_t clones = 0;
  int32_t parents = 0;
  int32_t badDumps = 0;

  // Findings, each with its fixed count where a fix exists.
  int32_t missingArcadeGames = 0;
  int32_t missingNeoGeoGames = 0;
  int32_t wrongSpelledGames = 0;
  int32_t wrongSpelledGamesFixed = 0;
  int32_t wrongNamedGames = 0;
  int32_t wrongNamedGamesFixed = 0;
  int32_t missingArcadeRoms = 0;
  int32_t missingNeoGeoRoms = 0;
  int32_t wrongNamedRoms = 0;
  int32_t wrongNamedRomsFixed = 0;
  int32_t wrongSpelledRoms = 0;
  int32_t wrongSpelledRomsFixed = 0;
  int32_t wrongSizedRoms = 0;
  int32_t wrongSizedRomsFixed = 0;
  int32_t wrongChecksums = 0;
  int32_t missingSamples = 0;
  int32_t wrongSpelledSamples = 0;
  int32_t wrongSpelledSamplesFixed = 0;
  int32_t unneeded = 0;
  int32_t unneededFixed = 0;
  int32_t missingDisks = 0;
  int32_t wrongDisks = 0;
  int32_t unreadableDisks = 0;  // unreadable, or of an unknown version
  int32_t unneededDisks = 0;
  int32_t disks = 0;  // a total, like the first ones; zero for lists without disks
  int32_t unreadable = 0;  // "unreadable set" and "unreadable rom" lines

  // MAME's verdicts on the scanned games' ROM sets and sample sets.
  VerdictCounts romsets;
  VerdictCounts samplesets;
};

// Adds one set of the database to the totals (games, NeoGeo or arcade games
// and their ROMs, samples, clones, parents, bad dumps, disks).
void CountGameTotals(const GameSet& game, ScanStatistics& statistics);

}  // namespace kestrel
