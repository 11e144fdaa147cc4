#include "rebuilder/source_removal.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "archive/zip_library.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

bool RemoveFile(const std::string& path) {
  if (IsReadOnly(path)) ClearReadOnly(path);
  return DeleteFile(path);
}

// Deepest folders first: a folder can only go once its subfolders have.
void RemoveEmptiedFolders(const std::set<std::string>& folders) {
  std::vector<std::string> order(folders.begin(), folders.end());
  std::sort(order.begin(), order.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  for (const std::string& folder : order) RemoveFolder(folder);
}

}  // namespace

int RemoveRebuiltSources(const RebuildJournal& journal, ZipLibrary& zipLibrary) {
  int removed = 0;
  std::set<std::string> folders;
  std::vector<std::string> zipOrder;
  std::map<std::string, std::vector<std::string>> membersByZip;
  for (const SourceBlock& block : journal) {
    if (block.blankLine || !block.toRemove || !AllPlacementsServed(block)) continue;
    const SourceFile& source = block.source;
    if (source.IsMember()) {
      auto [found, isNew] = membersByZip.try_emplace(source.zipPath);
      if (isNew) zipOrder.push_back(source.zipPath);
      found->second.push_back(source.storedName);
    } else if (RemoveFile(source.path)) {
      ++removed;
      folders.insert(FolderPart(source.path));
    }
  }
  for (const std::string& zip : zipOrder) {
    const std::vector<std::string>& members = membersByZip[zip];
    if (!ZipDeleteEntries(zipLibrary, zip, members)) continue;
    removed += static_cast<int>(members.size());
    folders.insert(FolderPart(zip));
  }
  RemoveEmptiedFolders(folders);
  return removed;
}

}  // namespace kestrel
