#include "platform/set_files.h"

#include "platform/paths.h"

namespace kestrel {

SetFiles FindSetFiles(FolderIndex& index, const std::string& folder, const std::string& setName) {
  SetFiles files;
  if (!IsPlainFileName(setName)) return files;
  files.zip = index.Find(folder, ListedZipName(setName), EntryKind::kFile);
  files.sevenZip = index.Find(folder, ListedSevenZipName(setName), EntryKind::kFile);
  files.folder = index.Find(folder, setName, EntryKind::kFolder);
  return files;
}

}  // namespace kestrel
