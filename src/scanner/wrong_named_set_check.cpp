#include "scanner/wrong_named_set_check.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

#include "archive/zip_reader.h"
#include "gamedb/crc_index.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "report/game_results.h"
#include "scanner/fix_operations.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

struct FileKey {
  uint32_t crc = 0;
  uint32_t size = 0;
};

// CRC and size of every file of the entry; true when it read as a zip.
bool CollectFileKeys(FileSystem& fs, const std::string& path, ZipHeaderCheck headerCheck, std::vector<FileKey>& keys) {
  ZipEntryList members;
  if (ReadZipDirectory(fs, path, members, false, nullptr, headerCheck)) {
    for (const ZipEntry& member : members) keys.push_back({member.crc, member.size});
    return true;
  }
  for (const FolderEntry& entry : fs.ListFolder(path, "*")) {
    if (entry.isFolder) continue;
    FileKey key;
    if (ReadFileCrc(fs, JoinPath(path, entry.name), key.size, key.crc)) keys.push_back(key);
  }
  return false;
}

// The set that most of the files belong to; the first one met wins a tie.
std::string BestMatchingSet(const std::vector<FileKey>& keys,
                            const std::vector<CrcIndexEntry>& crcIndex) {
  std::vector<std::pair<std::string, int>> hits;  // in order of first appearance
  std::unordered_map<std::string, size_t> positions;
  for (const FileKey& key : keys) {
    const auto [first, last] = FindCrcRange(crcIndex, key.crc);
    for (size_t i = first; i < last; ++i) {
      const CrcIndexEntry& entry = crcIndex[i];
      if (static_cast<uint32_t>(entry.size) != key.size) continue;
      const auto [it, added] = positions.emplace(ToLowerAscii(entry.setName), hits.size());
      if (added) {
        hits.emplace_back(entry.setName, 1);
      } else {
        ++hits[it->second].second;
      }
    }
  }
  const std::pair<std::string, int>* best = nullptr;
  for (const auto& candidate : hits) {
    if (best == nullptr || candidate.second > best->second) best = &candidate;
  }
  return best ? best->first : std::string();
}

}  // namespace

std::optional<WrongNamedSet> IdentifyWrongNamedSet(FileSystem& fs, const std::string& path,
                                                   const std::vector<CrcIndexEntry>& crcIndex,
                                                   ZipHeaderCheck headerCheck) {
  WrongNamedSet set;
  set.path = WithoutTrailingSeparators(path);
  set.foundName = WithoutZipExtension(FileNamePart(set.path));
  std::vector<FileKey> keys;
  set.isZip = CollectFileKeys(fs, set.path, headerCheck, keys);
  set.rightName = BestMatchingSet(keys, crcIndex);
  if (set.rightName.empty()) return std::nullopt;
  return set;
}

bool CheckWrongNamedSet(ScanContext& context, const std::string& path,
                        const std::vector<CrcIndexEntry>& crcIndex, ResultsModel& results,
                        ScanStatistics& statistics) {
  // Another spelling of a game's set beside the set itself is a copy MAME
  // never reads, not a set under a wrong name: it is told of as unneeded.
  if (FindGame(context.database, WithoutZipExtension(FileNamePart(WithoutTrailingSeparators(path))))) return false;
  std::optional<WrongNamedSet> set = IdentifyWrongNamedSet(context.fs, path, crcIndex, context.zipHeaderCheck);
  if (!set) return false;
  bool fixed = false;
  if (context.settings.fixName) {
    fixed = RenameWrongNamedSet(context, *set);
    if (context.state.stopRequested) return true;
  }
  AddWrongNamedSetLine(path, set->foundName, set->rightName, fixed, context.settings, results,
                       statistics);
  return true;
}

}  // namespace kestrel
