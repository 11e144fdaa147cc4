#include "scanner/top_level_pass.h"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "archive/seven_zip_set.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "platform/text.h"
#include "scanner/unneeded_check.h"

namespace kestrel {
namespace {

constexpr char kSampleSharedSetName[] = "ym3812";

std::string SetNameOf(const IndexedName& entry) {
  const std::string& name = entry.name;
  if (!entry.isFolder && HasZipExtension(name)) {
    return name.substr(0, name.size() - 4);
  }
  if (!entry.isFolder && HasSevenZipExtension(name)) return WithoutSevenZipExtension(name);
  return name;
}

// A zip or folder of a game's set in another spelling beside the one of
// the listed spelling: every tool and MAME use that one, so this one is
// never read.
bool ShadowedByListedSpelling(ScanContext& context, const std::string& path, const IndexedName& entry,
                              const std::string& gameName) {
  const bool isSevenZip = !entry.isFolder && HasSevenZipExtension(entry.name);
  if (!entry.isFolder && !HasZipExtension(entry.name) && !isSevenZip) return false;
  // An entry of the listed spelling is the one a lookup prefers.
  const std::string listedName = entry.isFolder ? gameName : isSevenZip ? ListedSevenZipName(gameName) : ListedZipName(gameName);
  if (entry.name == listedName) return false;
  SetFiles files = FindSetFiles(context.folders, path, gameName);
  const std::optional<IndexedName>& used = entry.isFolder ? files.folder : isSevenZip ? files.sevenZip : files.zip;
  return used && used->name != entry.name;
}

bool IsPathOfScan(const ScanContext& context, const std::string& folder) {
  auto same = [&](const std::string& path) { return EqualsNoCase(path, folder); };
  return same(WithTrailingSeparator(context.dataFolder)) ||
         std::any_of(context.romPaths.begin(), context.romPaths.end(), same) ||
         std::any_of(context.samplePaths.begin(), context.samplePaths.end(), same);
}

// `withSampleSets`: the sample sets that games take samples from are
// known too, though no game bears their name (`genpin`).
void CollectFromPath(ScanContext& context, const std::string& path, const char* sharedSet, bool withSampleSets,
                     std::unordered_set<std::string>& listed) {
  // The listing the set lookups use: the path is not listed twice.
  for (const IndexedName& entry : context.folders.Entries(path)) {
    std::string setName = SetNameOf(entry);
    if (EqualsNoCase(setName, sharedSet)) continue;
    if (withSampleSets && context.sampleSetUsers.count(ToLowerAscii(setName)) > 0) continue;
    if (!withSampleSets && context.romlessSetsRead.count(setName) > 0) continue;
    std::optional<int> game = FindGame(context.database, setName);
    if (game && !ShadowedByListedSpelling(context, path, entry, context.database[size_t(*game)].name)) continue;
    std::string fullPath = JoinPath(path, entry.name);
    if (IsPathOfScan(context, fullPath + "/")) continue;
    FoundEntry found;
    found.name = fullPath;
    found.setName = kUnknownSetName;
    found.isFolder = entry.isFolder;
    AddFoundEntry(context.state.unknownEntries, listed, std::move(found));
  }
}

}  // namespace

GameSet MakeUnknownGame() {
  GameSet unknown;
  unknown.description = kUnknownDescription;
  unknown.name = kUnknownSetName;
  return unknown;
}

void CollectUnknownEntries(ScanContext& context) {
  std::unordered_set<std::string> listed = ListedNames(context.state.unknownEntries);
  for (const std::string& path : context.romPaths) {
    CollectFromPath(context, path, kNeoGeoSetName, false, listed);
  }
  for (const std::string& path : context.samplePaths) {
    CollectFromPath(context, path, kSampleSharedSetName, true, listed);
  }
  DropProtectedEntries(context, context.state.unknownEntries);
}

}  // namespace kestrel
