#include "merger/leftover_work.h"

#include <optional>

#include "archive/folder_tree.h"
#include "merger/backup_plan.h"
#include "merger/read_content.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// Puts an old set found in the work folder back in `place`, or notes in
// `plan` what of it the sets in place lack. False when it could not be put back.
bool RescueOriginal(MergeRun& run, const std::string& original, const std::string& place, bool isZip,
                    const std::string& setName, const ContentSet& inPlace, BackupPlan& plan) {
  if (!run.fs.PathExists(place)) return run.fs.RenamePath(original, place);
  if (isZip) {
    NoteWhatLeaves(run, original, true, setName, inPlace, plan);
  } else {
    // An old set folder of an earlier version: its CHD files are kept too.
    for (const std::string& file : FolderFiles(run, original))
      NoteWhatLeaves(run, file, false, setName, inPlace, plan);
    for (const FolderEntry& entry : run.fs.ListFolder(WithTrailingSeparator(original), "*"))
      if (entry.isFolder) plan.items[setName].push_back(FolderBackup(JoinPath(original, entry.name), entry.name));
  }
  return true;
}

}  // namespace

bool CleanLeftover(MergeRun& run, const std::string& folder, const std::string& setName, std::vector<KeptFile>& kept) {
  std::string setPath = JoinPath(folder, setName);
  std::optional<std::string> work = run.sets.FindWorkFolder(folder, setName);
  if (!work) return true;
  std::string workFolder = WithTrailingSeparator(*work);
  ContentSet inPlace = ContentOfSets(run, {setName});
  BackupPlan plan;
  if (std::optional<std::string> oldZip = run.fs.FindPath(workFolder + "old.zip");
      oldZip && run.fs.FileExists(*oldZip)) {
    if (!RescueOriginal(run, *oldZip, setPath + ".zip", true, setName, inPlace, plan)) return false;
  }
  if (std::optional<std::string> oldFolder = run.fs.FindPath(workFolder + "old");
      oldFolder && run.fs.FolderExists(*oldFolder)) {
    if (!RescueOriginal(run, *oldFolder, setPath, false, setName, inPlace, plan)) return false;
  }
  if (!MakeBackups(run, plan, kept).empty()) return false;
  return DeleteFolderTree(run.fs, workFolder).empty();
}

}  // namespace kestrel
