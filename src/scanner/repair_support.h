// What every repair leans on: a private work folder for intermediate files,
// the checks that a place may be changed at all, one archive update that
// swaps a zip member, and the message that tells the user why a repair was
// not made.
#pragma once

#include <string>
#include <vector>

#include "archive/zip_entry.h"
#include "scanner/scan_context.h"

namespace kestrel {

// A new folder inside the temporary folder, for one repair's intermediate
// files: they cannot collide with the user's files there, and whatever a
// failed step leaves behind goes with the folder when the repair ends.
class WorkFolder {
 public:
  WorkFolder(FileSystem& fs, const std::string& tempFolder);
  ~WorkFolder();
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  // The folder followed by `name`.
  std::string FileFor(const std::string& name) const { return path_ + name; }

 private:
  FileSystem& fs_;
  std::string path_;  // with a trailing '/'; "" when it could not be made
};

// Gives the set `setPath` (a ROM path and the set's listed name) that
// spelling before a repair writes to it: its zip when `isZip`, else its
// folder. MAME finds a set only so spelled where names keep their case. A
// set not there yet needs nothing. Otherwise says why, answers false.
bool TakeListedSetSpelling(ScanContext& context, const std::string& setPath, bool isZip);

// Tells the user that the repair of `what` was not made and why; answers
// false, so a repair can end with `return FailRepair(...)`.
bool FailRepair(ScanContext& context, const std::string& what, const std::string& reason);

// Tells the user that the 7z set `path` is not repaired, since Kestrel
// writes no 7z; answers false. Its finding stays for the run's results.
bool RefuseSevenZipRepair(ScanContext& context, const std::string& path);

// True when entries may be created, renamed and deleted in `folder`: it
// exists and is neither read-only for its owner nor closed to this process.
// Read-only is honoured even for a user who could override it, as the user
// made it so to keep the folder as it is. Otherwise says why, answers false.
bool CheckChangeableFolder(ScanContext& context, const std::string& folder);

// True when `path` (a file or folder, however spelled) is, lies inside or
// holds the program's folder, the temporary or backup folder or a misc
// path; these are the program's or the user's own and never repaired away.
bool TouchesProtectedFolder(const ScanContext& context, const std::string& path);
// The same in two steps, for many paths: the protected folders in the
// form TouchesAnyFolder compares.
std::vector<std::string> ProtectedFolders(const ScanContext& context);
bool TouchesAnyFolder(const std::vector<std::string>& folders, const std::string& path);

// Replaces the member `member` (an entry of `entries`, the zip's directory
// before) of the zip `zipPath` by `file`, stored as `memberName`, in one
// archive update: the archive holds the old member or the new one, never
// neither. Refused when another member already has that name (it would be
// overwritten).
bool ReplaceZipMember(ScanContext& context, const std::string& zipPath, const ZipEntryList& entries,
                      const ZipEntry& member, const std::string& file, const std::string& memberName);

// Gives the member `member` of the zip `zipPath` the name `memberName` in
// one archive update, its compressed bytes moved as they are; refused like
// ReplaceZipMember when another member has that name.
bool RenameZipMember(ScanContext& context, const std::string& zipPath, const ZipEntryList& entries,
                     const ZipEntry& member, const std::string& memberName);

// True when `a` and `b` are one member of one listing: two members of one
// name are told apart by where they start.
bool IsSameMember(const ZipEntry& a, const ZipEntry& b);

// Reads the zip `zipPath` (with ".zip") again into `entries`; false (and
// `entries` empty) when it no longer reads as a zip with members, a damaged
// zip told of once per scan.
bool RereadZip(ScanContext& context, const std::string& zipPath, ZipEntryList& entries);

}  // namespace kestrel
