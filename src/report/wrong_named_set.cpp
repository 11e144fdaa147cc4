#include "report/wrong_named_set.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

#include "app/user_interface.h"
#include "archive/zip_reader.h"
#include "gamedb/crc_index.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

struct FileKey {
  uint32_t crc = 0;
  uint32_t size = 0;
};

std::string WithoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && IsPathSeparator(path.back())) path.pop_back();
  return path;
}

// CRC and size of every file of the entry; true when it read as a zip.
bool CollectFileKeys(const std::string& path, std::vector<FileKey>& keys) {
  ZipEntryList members;
  if (ReadZipDirectory(path, members, false, nullptr)) {
    for (const ZipEntry& member : members) keys.push_back({member.crc, member.size});
    return true;
  }
  for (const FolderEntry& entry : ListFolder(path, "*")) {
    if (entry.isFolder) continue;
    FileKey key;
    if (ReadFileCrc(JoinPath(path, entry.name), key.size, key.crc)) keys.push_back(key);
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

// Asks whether to rename, following the scanner's answers for all. Returns
// whether to fix this entry, nothing after Stop.
std::optional<bool> DecideRename(const std::string& currentName, const std::string& rightName,
                  const SettingsRecord& settings, RenameAnswers answers, UserInterface* owner) {
  if (!settings.askBeforeFixing || answers.answeredForAll) return answers.fixName;
  const int answer = AskDialog(owner, "Fix Wrong Named Game",
                               "Do you want to rename:\n'" + currentName + "'\nin\n'" + rightName +
                                   "'?");
  switch (answer) {
    case kAnswerYes: answers.fixName = true; break;
    case kAnswerNo: answers.fixName = false; break;
    case kAnswerYesToAll:
      answers.fixName = true;
      answers.answeredForAll = true;
      break;
    case kAnswerNoToAll:
      answers.fixName = false;
      answers.answeredForAll = true;
      break;
    case kAnswerStop:
      answers.stopRequested = true;
      return std::nullopt;
    default:  // a closed dialog decides nothing
      return false;
  }
  return answers.fixName;
}

// A rename never replaces an existing set of the right name. A folder is
// renamed as a whole rather than copied and removed: same result, and no
// file is ever deleted on the way.
bool RenameSet(const std::string& path, const std::string& folder, const std::string& rightName,
               bool isZip) {
  if (!IsPlainFileName(rightName) || IsReadOnly(folder)) return false;
  const std::string target = folder + rightName + (isZip ? ".zip" : "");
  if (PathExists(target)) return false;
  return RenamePath(path, target);
}

}  // namespace

std::string FindWrongNamedSet(const std::string& path,
                              const std::vector<CrcIndexEntry>& crcIndex) {
  std::vector<FileKey> keys;
  CollectFileKeys(path, keys);
  return BestMatchingSet(keys, crcIndex);
}

bool CheckWrongNamedSet(const std::string& path, const std::vector<CrcIndexEntry>& crcIndex,
                        const SettingsRecord& settings, RenameAnswers answers,
                        UserInterface* owner, ResultsModel& results, ScanStatistics& statistics) {
  const std::string trimmed = WithoutTrailingSeparators(path);
  std::string currentName = FileNamePart(trimmed);
  if (HasZipExtension(currentName)) currentName.resize(currentName.size() - 4);

  std::vector<FileKey> keys;
  const bool isZip = CollectFileKeys(trimmed, keys);
  const std::string rightName = BestMatchingSet(keys, crcIndex);
  if (rightName.empty()) return false;

  bool fixed = false;
  if (settings.fixName) {
    const std::optional<bool> fix = DecideRename(currentName, rightName, settings, answers, owner);
    if (!fix) return true;
    if (*fix) fixed = RenameSet(trimmed, FolderPart(trimmed), rightName, isZip);
  }
  AddResultLine(results,
                "wrong name: " + path + " [wrong: " + currentName + "] [right: " + rightName + "]" +
                    FixMark(settings.fixName, fixed),
                kTopLevel, kResultGameName, true, true);
  ++statistics.wrongNamedGames;
  if (fixed) ++statistics.wrongNamedGamesFixed;
  return true;
}

}  // namespace kestrel
