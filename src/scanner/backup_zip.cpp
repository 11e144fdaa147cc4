#include "scanner/backup_zip.h"

#include <set>
#include <string>

#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "scanner/folder_tree.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// `name`, or `name` with " (2)", " (3)" ... before its extension, whichever
// is not in `taken`; the answer is added to `taken`.
std::string FreeMemberName(const std::string& name, std::set<std::string>& taken) {
  std::string chosen = name;
  size_t slash = name.find_last_of('/');
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == 0) dot = name.size();
  for (int number = 2; taken.count(chosen) > 0; ++number) {
    chosen = name.substr(0, dot) + " (" + std::to_string(number) + ")" + name.substr(dot);
  }
  taken.insert(chosen);
  return chosen;
}

void AddEntryToChanges(const FoundEntry& entry, std::set<std::string>& taken, ZipChanges& changes) {
  if (entry.inZip) {
    changes.copies.push_back({entry.zipPath, entry.storedName, FreeMemberName(entry.zipEntry.name, taken)});
    return;
  }
  std::string name = FileNamePart(entry.name);
  if (!entry.isFolder) {
    changes.additions.push_back({entry.name, FreeMemberName(name, taken)});
    return;
  }
  for (const std::string& file : ListTreeFiles(entry.name)) {
    changes.additions.push_back({JoinPath(entry.name, file), FreeMemberName(name + "/" + file, taken)});
  }
}

}  // namespace

bool BackUpEntry(ScanContext& context, const FoundEntry& entry) {
  const std::string& backupFolder = context.settings.backupFolder;
  if (backupFolder.empty() || context.zipLibrary == nullptr || !IsPlainFileName(entry.setName)) return false;
  if (!FolderExists(backupFolder) && !CreateFolder(backupFolder)) return false;
  std::string zipPath = JoinPath(backupFolder, entry.setName + ".zip");

  std::set<std::string> taken;
  if (FileExists(zipPath)) {
    ZipEntryList members;
    // A backup zip that does not read is not written to: it may hold the
    // only copy of something removed before.
    if (!ReadZipDirectory(zipPath, members, false, true)) return false;
    for (const ZipEntry& member : members) taken.insert(member.storedName);
  }
  ZipChanges changes;
  AddEntryToChanges(entry, taken, changes);
  if (changes.additions.empty() && changes.copies.empty()) return true;
  return ZipUpdate(*context.zipLibrary, zipPath, changes);
}

}  // namespace kestrel
