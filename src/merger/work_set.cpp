#include "merger/work_set.h"

#include <optional>

#include "archive/zip_reader.h"
#include "merger/merge_paths.h"
#include "merger/read_content.h"
#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace kestrel {
namespace {

void AddSource(WorkSet& set, const std::string& fileName, FileSource source, bool otherContent) {
  auto [at, added] = set.fileIndex.emplace(ToLowerAscii(fileName), set.files.size());
  if (added) set.files.push_back({fileName, {}});
  std::vector<FileSource>& sources = set.files[at->second].sources;
  sources.insert(otherContent ? sources.begin() : sources.end(), std::move(source));
}

// Whether a source is known to hold another content than the ROM's. A ROM
// without a known dump matches any content of its size.
bool HoldsOtherContent(const RomEntry* rom, uint64_t size, uint32_t crc) {
  if (rom == nullptr) return false;
  if (size != static_cast<uint64_t>(rom->size)) return true;
  return !rom->noDump && crc != rom->crc && crc != rom->crcComplement;
}

// The same for a loose file, which is read only when its size matches: a
// clone's own ROM often has the size and name of its parent's. A file that
// cannot be read holds nothing usable.
bool LooseFileHoldsOtherContent(MergeRun& run, const RomEntry* rom, const std::string& path) {
  if (rom == nullptr) return false;
  if (run.fs.FileSize(path).value_or(0) != static_cast<uint64_t>(rom->size)) return true;
  if (rom->noDump) return false;
  std::optional<Content> content = LooseFileContent(run, path);
  return !content || HoldsOtherContent(rom, content->size, content->crc);
}

// The regular file `folder` + '/' + `name`, as the file system spells it.
std::optional<std::string> FindLooseFile(MergeRun& run, const std::string& folder, const std::string& name) {
  std::optional<std::string> path = run.fs.FindPath(JoinPath(folder, name));
  if (!path || !run.fs.FileExists(*path)) return std::nullopt;
  return path;
}

// The indexes of the members of the zip `zipPath` (listed as `members`)
// whose file name is `name` without case, in directory order.
const std::vector<size_t>& MembersNamed(MergeRun& run, const std::string& zipPath, const ZipEntryList& members,
                                        const std::string& name) {
  static const std::vector<size_t> kNone;
  auto [index, isNew] = run.zipMembersByName.try_emplace(zipPath);
  if (isNew)
    for (size_t i = 0; i < members.size(); ++i) index->second[ToLowerAscii(members[i].name)].push_back(i);
  auto found = index->second.find(ToLowerAscii(name));
  return found == index->second.end() ? kNone : found->second;
}

}  // namespace

bool CreateWorkSet(MergeRun& run, const std::string& folder, const std::string& setName, WorkSet& set) {
  set = WorkSet();
  set.setName = setName;
  set.folder = folder;
  set.setPath = JoinPath(folder, setName);
  set.workFolder = set.setPath + kWorkFolderSuffix + "/";
  if (folder.empty() || !IsPlainFileName(setName)) return false;
  return run.fs.CreateFolder(set.workFolder);
}

void CopySetFile(MergeRun& run, const std::string& romPath, const std::string& sourceSet,
                 const std::string& sourceName, const std::string& fileName, WorkSet& set,
                 const RomEntry* rom) {
  run.Pump();
  // A name with a folder part would lead out of the new set.
  if (!IsPlainFileName(fileName) || !IsPlainFileName(sourceName) || !IsPlainFileName(sourceSet)) return;
  if (std::optional<std::string> folder = run.sets.FindFolder(romPath, sourceSet)) {
    if (std::optional<std::string> loose = FindLooseFile(run, *folder, sourceName)) {
      bool otherContent = LooseFileHoldsOtherContent(run, rom, *loose);
      AddSource(set, fileName, {*loose, {}}, otherContent);
      // The set's zip beside the folder may hold the right one.
      if (!otherContent) return;
    }
  }
  std::optional<std::string> zip = run.sets.FindZip(romPath, sourceSet);
  if (!zip) return;
  const std::optional<ZipEntryList>& members = ListZip(run, *zip);
  if (!members) return;
  for (size_t i : MembersNamed(run, *zip, *members, sourceName)) {
    const ZipEntry& entry = (*members)[i];
    AddSource(set, fileName, {"", entry}, HoldsOtherContent(rom, entry.size, entry.crc));
  }
}

void CollectFile(MergeRun& run, const std::string& sourceSet, const std::string& sourceName,
                 const std::string& fileName, WorkSet& set, const RomEntry* rom) {
  for (const std::string& romPath : run.romPaths)
    CopySetFile(run, romPath, sourceSet, sourceName, fileName, set, rom);
}

}  // namespace kestrel
