#include "merger/backup_plan.h"

#include "merger/read_content.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

void NoteItem(BackupPlan& plan, const std::string& setName, BackupItem item, const std::string& where) {
  if (plan.firstItem.empty()) plan.firstItem = "'" + item.memberName + "' in '" + where + "'";
  plan.items[setName].push_back(std::move(item));
}

void NoteWholeFile(BackupPlan& plan, const std::string& path) {
  if (plan.firstItem.empty()) plan.firstItem = "'" + path + "', which can't be read,";
  plan.wholeFiles.push_back(path);
}

}  // namespace

void NoteWhatLeaves(MergeRun& run, const std::string& path, bool isZip, const std::string& setName,
                    const ContentSet& kept, BackupPlan& plan) {
  if (!isZip) {
    std::optional<Content> content = LooseFileContent(run, path);
    if (!content) return NoteWholeFile(plan, path);
    if (kept.count(*content) == 0) NoteItem(plan, setName, FileBackup(path, FileNamePart(path)), path);
    return;
  }
  const std::optional<ZipEntryList>& members = ListZip(run, path);
  if (!members) return NoteWholeFile(plan, path);
  for (const ZipEntry& member : *members)
    if (kept.count(ContentOf(member)) == 0) NoteItem(plan, setName, MemberBackup(member, member.storedName), path);
}

std::string MakeBackups(MergeRun& run, const BackupPlan& plan, std::vector<KeptFile>& kept) {
  if (plan.Empty()) return "";
  if (run.settings.backupFolder.empty()) return plan.firstItem + " is in no new set, and no backup folder is set";
  const std::string& folder = run.settings.backupFolder;
  for (const auto& [setName, items] : plan.items) {
    run.Pump();
    if (!BackUpToZip(run.fs, run.zipLibrary, folder, setName, items))
      return "can't back up " + plan.firstItem + " into '" + folder + "'";
  }
  for (const std::string& path : plan.wholeFiles) {
    std::string movedTo;
    if (!MoveIntoBackupFolder(run.fs, folder, path, &movedTo))
      return "'" + path + "' can't be read and can't be moved into '" + folder + "'";
    kept.push_back({path, "can't be read: moved into '" + movedTo + "'"});
  }
  return "";
}

}  // namespace kestrel
