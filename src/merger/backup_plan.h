// Old content that a family's commit takes away and that no new set holds:
// it goes into a backup zip, written and read back, before anything is
// removed. An old file or zip that cannot be read is never deleted: it is
// moved whole into the backup folder, or stays.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "archive/backup_zip.h"
#include "merger/merge_run.h"
#include "merger/merger.h"
#include "merger/set_content.h"

namespace kestrel {

struct BackupPlan {
  std::map<std::string, std::vector<BackupItem>> items;  // by the set whose backup zip takes them
  std::vector<std::string> wholeFiles;                   // unreadable files, to move whole
  std::string firstItem;  // the first thing to keep, for the user: "'readme.txt' in '.../pacman.zip'"

  bool Empty() const { return items.empty() && wholeFiles.empty(); }
};

// Notes in `plan` what of the zip (`isZip`) or loose file at `path`, of the
// set `setName`, is in no content of `kept`.
void NoteWhatLeaves(MergeRun& run, const std::string& path, bool isZip, const std::string& setName,
                    const ContentSet& kept, BackupPlan& plan);

// Writes the backups of `plan` and moves its unreadable files into the
// backup folder, noting each move in `kept`. "" when everything is kept;
// otherwise what could not be kept, for the user. Nothing is left to
// remove then unless it was kept.
std::string MakeBackups(MergeRun& run, const BackupPlan& plan, std::vector<KeptFile>& kept);

}  // namespace kestrel
