// Removing the unneeded files, folders and zip members of a set, each
// first stored in the set's backup zip.
#include <map>
#include <string>
#include <vector>

#include "archive/seven_zip_set.h"
#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/backup_zip.h"
#include "scanner/fix_operations.h"
#include "scanner/fix_question.h"
#include "archive/folder_tree.h"
#include "scanner/repair_support.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kBackupCaption[] = "Backup'ing...please wait !";

// The place that changes when the entry goes: the zip, or the entry itself.
const std::string& PlaceOf(const FoundEntry& entry) { return entry.inZip ? entry.zipPath : entry.name; }

bool IsScanPath(const ScanContext& context, const std::string& folder) {
  auto same = [&](const std::string& path) { return EqualsNoCase(AbsolutePath(path), AbsolutePath(folder)); };
  for (const std::string& path : context.romPaths) {
    if (same(path)) return true;
  }
  for (const std::string& path : context.samplePaths) {
    if (same(path)) return true;
  }
  return false;
}

// True when the entry may go: it is still there, lies where entries may be
// changed, and its backup was written and read back. The backup is made
// whatever the backup option says: nothing leaves the collection that is
// not kept elsewhere, and what cannot be read for its backup stays.
bool PrepareRemoval(ScanContext& context, const FoundEntry& entry) {
  const std::string& place = PlaceOf(entry);
  if (TouchesProtectedFolder(context, place)) {
    return FailRepair(context, entry.name, "It is or holds a folder Kestrel keeps its own files in !");
  }
  if (!context.fs.PathExists(place)) return FailRepair(context, place, "It no longer exists !");
  if (!CheckChangeableFolder(context, FolderPart(place))) return false;
  if (context.state.progress != nullptr) context.state.progress->SetCaption(kBackupCaption);
  bool backedUp = BackUpEntry(context, entry);
  ShowFixingCaption(context);
  if (!backedUp) return FailRepair(context, entry.name, "Its backup could not be written, so it stays !");
  return true;
}

void RemoveLooseEntry(ScanContext& context, FoundEntry& entry) {
  if (entry.isFolder) {
    entry.fixed = DeleteFolderTree(context.fs, entry.name).empty();
  } else {
    if (context.fs.IsReadOnly(entry.name)) context.fs.ClearReadOnly(entry.name);
    entry.fixed = context.fs.DeleteFile(entry.name);
  }
  if (!entry.fixed) {
    FailRepair(context, entry.name, "It could not be deleted (completely) !");
    return;
  }
  // A set folder left empty goes too; a ROM or sample path stays.
  std::string holder = FolderPart(entry.name);
  if (!IsScanPath(context, holder) && !TouchesProtectedFolder(context, holder) &&
      context.fs.ListFolder(holder).empty()) {
    context.fs.RemoveFolder(holder);
  }
}

// Deletes the members marked for removal, one archive update per zip.
void RemovePendingMembers(ScanContext& context, std::vector<FoundEntry>& entries) {
  std::map<std::string, std::vector<FoundEntry*>> byZip;
  for (FoundEntry& entry : entries) {
    if (entry.inZip && entry.pendingRemoval) byZip[entry.zipPath].push_back(&entry);
  }
  for (auto& [zipPath, members] : byZip) {
    ZipChanges changes;
    for (const FoundEntry* entry : members) changes.deletedEntries.push_back(entry->zipEntry);
    bool deleted = context.zipLibrary != nullptr && ZipUpdate(context.fs, *context.zipLibrary, zipPath, changes);
    if (!deleted) FailRepair(context, zipPath, "The zip file could not be updated; it is unchanged !");
    for (FoundEntry* entry : members) {
      entry->fixed = deleted;
      entry->pendingRemoval = false;
    }
  }
}

}  // namespace

void RemoveUnneededEntries(ScanContext& context, const GameSet& game,
                           std::vector<FoundEntry>& entries) {
  for (FoundEntry& entry : entries) {
    if (entry.inZip && IsSevenZipMember(entry.zipEntry)) {
      RefuseSevenZipRepair(context, entry.zipPath);
      continue;
    }
    bool fix = ConfirmFix(context, FixKind::kRemoval,
                          "Remove Unneeded File/Folder In Gameset '" + game.description + "' ?",
                          "\nDo you want to delete '" + entry.name +
                              "' ?\n\nIf 'backup' is enabled this file/folder will be stored in "
                              "your backupfolder !");
    entry.pendingRemoval = false;
    // Stop leaves even the members already marked in place.
    if (context.state.stopRequested) return;
    if (!fix || !PrepareRemoval(context, entry)) continue;
    if (entry.inZip) {
      entry.pendingRemoval = true;
    } else {
      RemoveLooseEntry(context, entry);
    }
    ShowScanningCaption(context);
  }
  RemovePendingMembers(context, entries);
}

}  // namespace kestrel
