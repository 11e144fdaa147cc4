// The wrong-named-set check: an unknown zip or folder at the top of a ROM
// path may be a known set under another name. Its files are matched against
// the CRC index by CRC-32 and size, and the set with most hits is its name.
#pragma once

#include <string>
#include <vector>

#include "report/results_model.h"
#include "report/scan_statistics.h"

namespace kestrel {

struct CrcIndexEntry;
struct SettingsRecord;
class UserInterface;

// The scanner's per-scan state that the rename question reads and changes:
// its copy of fix name, the rename answer-for-all flag and the stop request.
struct RenameAnswers {
  bool& fixName;
  bool& answeredForAll;
  bool& stopRequested;
};

// Checks an unknown top-level entry. When it matches a set, asks (if asked
// to), renames it when fixing, and adds a "wrong name: " line. Returns true
// when the entry was dealt with (a line was added, or Stop was answered),
// false when it matches no set and stays an unneeded entry.
bool CheckWrongNamedSet(const std::string& path, const std::vector<CrcIndexEntry>& crcIndex,
                        const SettingsRecord& settings, RenameAnswers answers,
                        UserInterface* owner, ResultsModel& results, ScanStatistics& statistics);

}  // namespace kestrel
