#include "rebuilder/source_removal.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "rebuilder/rebuild_messages.h"

namespace kestrel {
namespace {

struct Removal {
  std::vector<RebuildFailure>& failures;
  int removed = 0;
  std::set<std::string> folders;  // folders that held a removed source
};

bool StillReadsAs(FileSystem& fs, const SourceFile& source) {
  uint32_t size = 0, crc = 0;
  return ReadFileCrc(fs, source.path, size, crc) && size == source.size && crc == source.crc;
}

void RemoveLooseFile(FileSystem& fs, const SourceFile& source, Removal& removal) {
  if (!StillReadsAs(fs, source)) {
    removal.failures.push_back({source.path, rebuild_text::kChangedSince});
    return;
  }
  if (fs.IsReadOnly(source.path)) fs.ClearReadOnly(source.path);
  if (!fs.DeleteFile(source.path)) {
    removal.failures.push_back({source.path, rebuild_text::kNotRemoved});
    return;
  }
  ++removal.removed;
  removal.folders.insert(FolderPart(source.path));
}

// The very member rebuilt from is still in its zip: same place, name, sizes
// and CRC-32.
bool IsStillListed(const ZipEntryList& listing, const ZipEntry& member) {
  for (const ZipEntry& entry : listing) {
    if (entry.headerOffset == member.headerOffset && entry.storedName == member.storedName &&
        entry.size == member.size && entry.crc == member.crc && entry.compressedSize == member.compressedSize)
      return true;
  }
  return false;
}

// Deletes, by entry, the members of one zip that still hold what was
// rebuilt from them.
void RemoveMembers(FileSystem& fs, ZipLibrary& zipLibrary, const std::string& zip,
                   const std::vector<SourceFile>& members, Removal& removal) {
  ZipEntryList listing;
  ReadZipDirectory(fs, zip, listing, false, nullptr, zipLibrary.headerCheck);
  ZipChanges changes;
  for (const SourceFile& member : members) {
    if (IsStillListed(listing, member.entry)) {
      changes.deletedEntries.push_back(member.entry);
    } else {
      removal.failures.push_back({zip + "/" + member.storedName, rebuild_text::kChangedSince});
    }
  }
  if (changes.deletedEntries.empty()) return;
  if (!ZipUpdate(fs, zipLibrary, zip, changes)) {
    for (const ZipEntry& entry : changes.deletedEntries)
      removal.failures.push_back({zip + "/" + entry.storedName, rebuild_text::kNotRemoved});
    return;
  }
  removal.removed += static_cast<int>(changes.deletedEntries.size());
  removal.folders.insert(FolderPart(zip));
}

bool IsInside(const std::string& path, const std::string& folder) {
  return !folder.empty() && path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0;
}

std::string ParentOf(const std::string& folder) {
  return FolderPart(folder.substr(0, folder.size() - 1));
}

// Each emptied folder goes, then its parent if that is empty now, up to but
// not including the source folder. Deepest first: a folder can only go once
// its subfolders have.
void RemoveEmptiedFolders(FileSystem& fs, const std::set<std::string>& folders, const std::string& sourceFolder) {
  std::vector<std::string> order(folders.begin(), folders.end());
  std::sort(order.begin(), order.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (std::string folder : order) {
    while (IsInside(folder, sourceFolder) && fs.RemoveFolder(folder)) {
      folder = ParentOf(folder);
    }
  }
}

}  // namespace

int RemoveRebuiltSources(FileSystem& fs, const RebuildJournal& journal, const std::string& sourceFolder,
                         const std::string& setFolders, ZipLibrary& zipLibrary, std::vector<RebuildFailure>& failures) {
  Removal removal{failures, 0, {}};
  std::vector<std::string> zipOrder;
  std::map<std::string, std::vector<SourceFile>> membersByZip;
  for (const SourceBlock& block : journal) {
    if (block.blankLine || !block.toRemove || !AllPlacementsServed(block)) continue;
    const SourceFile& source = block.source;
    if (source.zipPath.empty()) {
      if (!IsInside(source.path, setFolders)) RemoveLooseFile(fs, source, removal);
      continue;
    }
    auto [found, isNew] = membersByZip.try_emplace(source.zipPath);
    if (isNew) zipOrder.push_back(source.zipPath);
    found->second.push_back(source);
  }
  for (const std::string& zip : zipOrder) RemoveMembers(fs, zipLibrary, zip, membersByZip[zip], removal);
  RemoveEmptiedFolders(fs, removal.folders, sourceFolder);
  return removal.removed;
}

}  // namespace kestrel
