#include "merger/work_set.h"

#include <optional>

#include "archive/zip_reader.h"
#include "merger/merge_paths.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The members of the zip `zipPath` (as spelled on disk), listed once per
// family with the reader's messages; nullopt when it is no readable zip.
const std::optional<ZipEntryList>& ListZip(MergeRun& run, const std::string& zipPath) {
  auto known = run.zipListings.find(zipPath);
  if (known != run.zipListings.end()) return known->second;
  std::optional<ZipEntryList> listing;
  ZipEntryList entries;
  if (ReadZipDirectory(zipPath, entries, false, true)) listing = std::move(entries);
  return run.zipListings.emplace(zipPath, std::move(listing)).first->second;
}

void AddSource(WorkSet& set, const std::string& fileName, FileSource source, bool otherContent) {
  auto [at, added] = set.fileIndex.emplace(ToLowerAscii(fileName), set.files.size());
  if (added) set.files.push_back({fileName, {}});
  std::vector<FileSource>& sources = set.files[at->second].sources;
  sources.insert(otherContent ? sources.begin() : sources.end(), std::move(source));
}

// Whether a source is known to hold another content than the ROM's. A ROM
// without a known dump matches any content of its size.
bool HoldsOtherContent(const RomEntry* rom, uint64_t size, std::optional<uint32_t> crc) {
  if (rom == nullptr) return false;
  if (size != static_cast<uint64_t>(rom->size)) return true;
  return crc && !rom->noDump && *crc != rom->crc && *crc != rom->crcComplement;
}

// The regular file `folder` + '/' + `name`, as the file system spells it.
std::optional<std::string> FindLooseFile(const std::string& folder, const std::string& name) {
  std::optional<std::string> path = FindPath(JoinPath(folder, name));
  if (!path || !FileExists(*path)) return std::nullopt;
  return path;
}

}  // namespace

bool CreateWorkSet(const std::string& folder, const std::string& setName, WorkSet& set) {
  set = WorkSet();
  set.setName = setName;
  set.folder = folder;
  set.setPath = JoinPath(folder, setName);
  set.workFolder = set.setPath + ".kpw/";
  if (folder.empty() || !IsPlainSetName(setName)) return false;
  return CreateFolder(set.workFolder);
}

void CopySetFile(MergeRun& run, const std::string& romPath, const std::string& sourceSet,
                 const std::string& sourceName, const std::string& fileName, WorkSet& set,
                 const RomEntry* rom) {
  run.Pump();
  // A name with a folder part would lead out of the new set.
  if (!IsPlainSetName(fileName) || !IsPlainSetName(sourceName) || !IsPlainSetName(sourceSet)) return;
  if (std::optional<std::string> folder = run.sets.FindFolder(romPath, sourceSet)) {
    if (std::optional<std::string> loose = FindLooseFile(*folder, sourceName)) {
      AddSource(set, fileName, {*loose, {}}, HoldsOtherContent(rom, FileSize(*loose).value_or(0), std::nullopt));
      return;
    }
  }
  std::optional<std::string> zip = run.sets.FindZip(romPath, sourceSet);
  if (!zip) return;
  const std::optional<ZipEntryList>& members = ListZip(run, *zip);
  if (!members) return;
  for (const ZipEntry& entry : *members)
    if (EqualsNoCase(entry.name, sourceName))
      AddSource(set, fileName, {"", entry}, HoldsOtherContent(rom, entry.size, entry.crc));
}

void CollectFile(MergeRun& run, const std::string& sourceSet, const std::string& sourceName,
                 const std::string& fileName, WorkSet& set, const RomEntry* rom) {
  for (const std::string& romPath : run.settings.activeRomPaths)
    CopySetFile(run, romPath, sourceSet, sourceName, fileName, set, rom);
}

}  // namespace kestrel
