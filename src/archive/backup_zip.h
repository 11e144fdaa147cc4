// Backups of what a repair, rebuild or merge takes away: one zip per set in
// the backup folder, growing with every backup of that set, and whole files
// moved into that folder.
//
// A backup counts only once it was read back: whatever is removed after a
// backup must exist in it, verified.
#pragma once

#include <string>
#include <vector>

#include "archive/zip_entry.h"
#include "archive/zip_library.h"

namespace kestrel {

// One thing to keep in a backup zip.
struct BackupItem {
  enum class Kind {
    kFile,    // the loose file `path`
    kFolder,  // every regular file below the folder `path`
    kMember,  // the zip member `member`, as ReadZipDirectory listed it
  };
  Kind kind = Kind::kFile;
  std::string path;   // kFile, kFolder: the file or folder on disk
  ZipEntry member;    // kMember: the member, in member.archivePath
  // The name it is stored under; a folder's files are stored below it
  // ("name/sub/file").
  std::string memberName;
};

BackupItem FileBackup(const std::string& path, const std::string& memberName);
BackupItem FolderBackup(const std::string& path, const std::string& memberName);
BackupItem MemberBackup(const ZipEntry& member, const std::string& memberName);

// Adds the items to `backupFolder`/`setName`.zip, made along with the folder
// when missing. A name the zip holds already is given a number (" (2)"
// before the extension), so an earlier backup is never replaced. Then reads
// the zip back: true only when every stored item is there with the size and
// CRC-32 of its source, its contents decoding to them. An empty folder item
// stores nothing and counts as kept. A backup zip that does not read is
// never written to (it may hold the only copy of something): the items go
// to "SET (2).zip", the next free or readable number. Nothing is written
// when `setName` is no plain file name.
bool BackUpToZip(FileSystem& fs, ZipLibrary& library, const std::string& backupFolder, const std::string& setName,
                 const std::vector<BackupItem>& items);

// Moves the file `path` (found without case) into `backupFolder`, made when
// missing, under its own name or, when that is taken, a numbered one
// ("name (2).zip"). A rename where the folder lies on the same file system;
// otherwise a copy that must arrive whole (same size and CRC-32) before the
// original is removed. False, with the original where it was, when the move
// could not be made and verified; a copy left behind by a failed removal
// stays, as it is whole. `movedTo`, when given, receives the new path.
bool MoveIntoBackupFolder(FileSystem& fs, const std::string& backupFolder, const std::string& path,
                          std::string* movedTo = nullptr);

}  // namespace kestrel
