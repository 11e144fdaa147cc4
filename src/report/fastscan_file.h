// The fastscan file: which sets still had findings after a completed scan,
// with the scan options used, bound to the game data by their data CRC.
// Layout (little-endian): data CRC, set count N, N flag bytes, 23 option
// integers; N + 100 bytes in all.
#pragma once

#include <cstdint>
#include <string>

#include "report/scan_results.h"

namespace kestrel {

struct SettingsRecord;
class UserInterface;

// Writes the file for the game data of CRC `dataCrc`, with the needsScan
// flag of each set of `scanResults` (one per game of the database), through
// a temporary name, so a failed write never leaves a damaged file in place.
// False (silently) on an empty name or any error.
bool SaveFastscan(const std::string& path, const SettingsRecord& settings, uint32_t dataCrc,
                  const ScanResults& scanResults);

// Reads the file, which must have been written for the data of CRC
// `dataCrc`: sets needsScan of every set of `scanResults`, which holds one
// per game of the database, and restores the scan options into `settings`
// (fix options are or-ed with the current ones). A file for other data, or
// a missing, short or damaged file, is refused with a message; then neither
// the options nor any needsScan flag change. False without a message on an
// empty name.
bool LoadFastscan(const std::string& path, SettingsRecord& settings, uint32_t dataCrc, ScanResults& scanResults,
                  UserInterface* owner);

}  // namespace kestrel
