// The wrong-named-set check: an unknown zip or folder at the top of a ROM
// path may be a known set under another name. Its files are matched against
// the CRC index by CRC-32 and size, and the set with most hits is its name.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "report/results_model.h"
#include "report/scan_statistics.h"
#include "scanner/scan_context.h"

namespace kestrel {

struct CrcIndexEntry;

// An entry at the top of a path whose files belong to a known set.
struct WrongNamedSet {
  std::string path;       // the zip or folder, without trailing separators
  bool isZip = false;     // it read as a zip; else it is taken for a folder
  std::string foundName;  // its name, without ".zip"
  std::string rightName;  // the set most of its files belong to; the first met wins a tie
};

// What the contents of `path` (a zip, or else a folder) show it to be;
// nothing when no file matches any set.
std::optional<WrongNamedSet> IdentifyWrongNamedSet(FileSystem& fs, const std::string& path,
                                                   const std::vector<CrcIndexEntry>& crcIndex,
                                                   ZipHeaderCheck headerCheck);

// Checks an unknown top-level entry. When it matches a set, renames it
// where the name fix is on (see RenameWrongNamedSet) and adds a
// "wrong name: " line. Returns true when the entry was dealt with (a line
// was added, or Stop was answered), false when it matches no set, or is
// another spelling of a game's set, and stays an unneeded entry.
bool CheckWrongNamedSet(ScanContext& context, const std::string& path,
                        const std::vector<CrcIndexEntry>& crcIndex, ResultsModel& results,
                        ScanStatistics& statistics);

}  // namespace kestrel
