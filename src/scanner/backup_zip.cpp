#include "scanner/backup_zip.h"

#include "archive/backup_zip.h"
#include "platform/paths.h"
#include "settings/settings_record.h"

namespace kestrel {

bool BackUpEntry(ScanContext& context, const FoundEntry& entry) {
  if (context.zipLibrary == nullptr) return false;
  BackupItem item;
  if (entry.inZip) {
    item = MemberBackup(entry.zipEntry, entry.zipEntry.name);
  } else if (entry.isFolder) {
    item = FolderBackup(entry.name, FileNamePart(entry.name));
  } else {
    item = FileBackup(entry.name, FileNamePart(entry.name));
  }
  return BackUpToZip(context.fs, *context.zipLibrary, context.settings.backupFolder, entry.setName, {item});
}

}  // namespace kestrel
