// The samples of one game in one set of a sample path.
#pragma once

#include <string>

#include "gamedb/game_set.h"
#include "scanner/scan_context.h"
#include "report/scan_results.h"

namespace kestrel {

// Marks the game's samples found in the set at `setPath` and, with the case
// check, compares their spelling; the findings go into `scan`.
void CheckSampleSet(ScanContext& context, const GameSet& game, SetScan& scan,
                    const std::string& setPath);

}  // namespace kestrel
