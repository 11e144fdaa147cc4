#include "archive/backup_zip.h"

#include <optional>
#include <set>
#include <string_view>

#include "archive/folder_tree.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// What the read-back of a backup zip must find.
struct ExpectedMember {
  std::string name;
  uint32_t size = 0;
  uint32_t crc = 0;
};

// `name` with " (number)" before its extension; a leading dot (".hidden")
// is no extension.
std::string NumberedName(const std::string& name, int number) {
  size_t slash = name.find_last_of('/');
  size_t start = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos || dot <= start) dot = name.size();
  return name.substr(0, dot) + " (" + std::to_string(number) + ")" + name.substr(dot);
}

// `name`, or the first numbered form of it that is not in `taken`; the
// answer is added to `taken`.
std::string FreeMemberName(const std::string& name, std::set<std::string>& taken) {
  std::string chosen = name;
  for (int number = 2; taken.count(chosen) > 0; ++number) chosen = NumberedName(name, number);
  taken.insert(chosen);
  return chosen;
}

// Adds a loose file; false when it cannot be read, as then its backup
// could not be checked.
bool PlanFile(FileSystem& fs, const std::string& path, const std::string& memberName, std::set<std::string>& taken,
              ZipChanges& changes, std::vector<ExpectedMember>& expected) {
  uint32_t size = 0;
  uint32_t crc = 0;
  if (!ReadFileCrc(fs, path, size, crc)) return false;
  std::string name = FreeMemberName(memberName, taken);
  changes.additions.push_back({path, name});
  expected.push_back({name, size, crc});
  return true;
}

bool PlanItem(FileSystem& fs, const BackupItem& item, std::set<std::string>& taken, ZipChanges& changes,
              std::vector<ExpectedMember>& expected) {
  if (item.memberName.empty()) return false;
  switch (item.kind) {
    case BackupItem::Kind::kFile:
      return PlanFile(fs, item.path, item.memberName, taken, changes, expected);
    case BackupItem::Kind::kFolder:
      if (!fs.FolderExists(item.path)) return false;
      for (const std::string& file : ListTreeFiles(fs, item.path)) {
        if (!PlanFile(fs, JoinPath(item.path, file), item.memberName + "/" + file, taken, changes, expected)) {
          return false;
        }
      }
      return true;
    case BackupItem::Kind::kMember: {
      std::string name = FreeMemberName(item.memberName, taken);
      changes.copiedEntries.push_back({item.member, name});
      expected.push_back({name, item.member.size, item.member.crc});
      return true;
    }
  }
  return false;
}

// True when every expected member is in the zip with its size and CRC-32,
// and its contents decode to them.
bool VerifyBackup(FileSystem& fs, const std::string& zipPath, const std::vector<ExpectedMember>& expected,
                  ZipHeaderCheck headerCheck) {
  ZipEntryList members;
  if (!ReadZipDirectory(fs, zipPath, members, false, nullptr, headerCheck)) return false;
  for (const ExpectedMember& wanted : expected) {
    bool found = false;
    for (const ZipEntry& member : members) {
      if (member.storedName != wanted.name) continue;
      found = member.size == wanted.size && member.crc == wanted.crc && CheckZipEntry(fs, member);
      break;
    }
    if (!found) return false;
  }
  return true;
}

bool SameContents(FileSystem& fs, const std::string& original, const std::string& copy) {
  std::optional<uint64_t> originalSize = fs.FileSize(original);
  if (!originalSize || fs.FileSize(copy) != originalSize) return false;
  uint32_t sizeA = 0, crcA = 0, sizeB = 0, crcB = 0;
  bool summedA = ReadFileCrc(fs, original, sizeA, crcA);
  bool summedB = ReadFileCrc(fs, copy, sizeB, crcB);
  // Files of 4 GB and more cannot be summed; their size must do.
  if (*originalSize > UINT32_MAX) return true;
  return summedA && summedB && crcA == crcB;
}

// The first of `name`, "name (2)" ... that is free in `folder`.
std::string FreePathIn(FileSystem& fs, const std::string& folder, const std::string& name) {
  std::string path = JoinPath(folder, name);
  for (int number = 2; fs.PathExists(path); ++number) path = JoinPath(folder, NumberedName(name, number));
  return path;
}

// The set's backup zip, with the member names it holds in `taken`: "SET.zip",
// or where that does not read (a damaged backup, or an unreadable set
// moved here whole) the first of "SET (2).zip" ... that is free or reads,
// so that it is never written to and still does not block later backups.
// Nothing when a folder or a file that cannot be listed is in the way.
std::optional<std::string> ChooseBackupZip(FileSystem& fs, const std::string& backupFolder, const std::string& setName,
                                           std::set<std::string>& taken, ZipHeaderCheck headerCheck) {
  constexpr int kMostNumbers = 100;
  std::string name = setName + ".zip";
  for (int number = 1; number <= kMostNumbers; ++number) {
    std::string path = fs.ResolvePath(JoinPath(backupFolder, number == 1 ? name : NumberedName(name, number)));
    if (!fs.PathExists(path)) return path;
    if (fs.FolderExists(path)) return std::nullopt;
    ZipEntryList members;
    if (!ReadZipDirectory(fs, path, members, false, nullptr, headerCheck)) continue;
    for (const ZipEntry& member : members) taken.insert(member.storedName);
    return path;
  }
  return std::nullopt;
}

}  // namespace

BackupItem FileBackup(const std::string& path, const std::string& memberName) {
  return {BackupItem::Kind::kFile, path, {}, memberName};
}

BackupItem FolderBackup(const std::string& path, const std::string& memberName) {
  return {BackupItem::Kind::kFolder, path, {}, memberName};
}

BackupItem MemberBackup(const ZipEntry& member, const std::string& memberName) {
  return {BackupItem::Kind::kMember, {}, member, memberName};
}

bool BackUpToZip(FileSystem& fs, ZipLibrary& library, const std::string& backupFolder, const std::string& setName,
                 const std::vector<BackupItem>& items) {
  if (backupFolder.empty() || !IsPlainFileName(setName)) return false;
  if (!fs.FolderExists(backupFolder) && !fs.CreateFolder(backupFolder)) return false;
  std::set<std::string> taken;
  std::optional<std::string> zipPath = ChooseBackupZip(fs, backupFolder, setName, taken, library.headerCheck);
  if (!zipPath) return false;
  ZipChanges changes;
  std::vector<ExpectedMember> expected;
  for (const BackupItem& item : items) {
    if (!PlanItem(fs, item, taken, changes, expected)) return false;
  }
  if (expected.empty()) return true;
  return ZipUpdate(fs, library, *zipPath, changes) && VerifyBackup(fs, *zipPath, expected, library.headerCheck);
}

bool MoveIntoBackupFolder(FileSystem& fs, const std::string& backupFolder, const std::string& path,
                          std::string* movedTo) {
  std::optional<std::string> original = fs.FindPath(path);
  if (backupFolder.empty() || !original || !fs.FileExists(*original)) return false;
  if (!fs.FolderExists(backupFolder) && !fs.CreateFolder(backupFolder)) return false;
  std::optional<uint64_t> size = fs.FileSize(*original);
  std::string target = FreePathIn(fs, backupFolder, FileNamePart(*original));

  bool moved = fs.RenamePath(*original, target) && !fs.PathExists(*original) && fs.FileSize(target) == size;
  if (!moved && fs.PathExists(*original) && !fs.PathExists(target)) {
    // Another file system: the copy must be whole before the original goes.
    bool copied = fs.CopyFile(*original, target, true);
    bool whole = copied && SameContents(fs, *original, target);
    if (copied && !whole) fs.DeleteFile(target);
    moved = whole && fs.DeleteFile(*original);
  }
  if (moved && movedTo != nullptr) *movedTo = target;
  return moved;
}

}  // namespace kestrel
