// Clearing away what interrupted zip writes left in the ROM and sample
// paths, before the paths are looked at.
#pragma once

#include "report/results_model.h"
#include "scanner/scan_context.h"

namespace kestrel {

// With Fix Unneeded (and its check) on, moves every leftover of an
// interrupted zip write directly inside the ROM and sample paths into the
// backup folder and adds one line for each to `results`:
// "interrupted write: <path> [moved to <path>]" or "... [not cleared]".
void ClearInterruptedWrites(ScanContext& context, ResultsModel& results);

}  // namespace kestrel
