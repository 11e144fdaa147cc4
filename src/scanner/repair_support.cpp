#include "scanner/repair_support.h"

#include <algorithm>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/listed_spelling.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "platform/text.h"
#include "archive/folder_tree.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kFailureTitle[] = "Fix Failed";

// The absolute, lower-cased form of a path with one trailing '/', so that
// "roms/./Temp" and "/home/me/roms/temp/" compare equal.
std::string ComparableFolder(const std::string& path) {
  std::string absolute = AbsolutePath(path);
  while (absolute.size() > 1 && IsPathSeparator(absolute.back())) absolute.pop_back();
  return ToLowerAscii(absolute) + "/";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// Applies `changes`, which take the member `member` away and store
// something as `memberName`, to the zip in one archive update.
bool ChangeZipMember(ScanContext& context, const std::string& zipPath, const ZipEntryList& entries,
                     const ZipEntry& member, const std::string& memberName, const ZipChanges& changes) {
  bool taken = std::any_of(entries.begin(), entries.end(), [&](const ZipEntry& entry) {
    return !IsSameMember(entry, member) && entry.storedName == memberName;
  });
  if (taken) return FailRepair(context, zipPath, "It holds a member '" + memberName + "' already !");
  if (context.zipLibrary == nullptr) return FailRepair(context, zipPath, "Zip files cannot be written !");
  if (!CheckChangeableFolder(context, FolderPart(zipPath))) return false;
  if (!ZipUpdate(context.fs, *context.zipLibrary, zipPath, changes)) {
    return FailRepair(context, zipPath, "The zip file could not be updated; it is unchanged !");
  }
  return true;
}

}  // namespace

WorkFolder::WorkFolder(FileSystem& fs, const std::string& tempFolder) : fs_(fs) {
  if (!tempFolder.empty()) path_ = fs_.CreateUniqueFolder(tempFolder);
}

WorkFolder::~WorkFolder() {
  if (ok()) DeleteFolderTree(fs_, path_);
}

bool TakeListedSetSpelling(ScanContext& context, const std::string& setPath, bool isZip) {
  std::string folder = FolderPart(setPath);
  std::string name = isZip ? ListedZipName(FileNamePart(setPath)) : FileNamePart(setPath);
  if (HasListedSpelling(TakeListedSpelling(context.fs, folder, name))) return true;
  return FailRepair(context, JoinPath(folder, name), "It could not be renamed as '" + name + "' !");
}

bool FailRepair(ScanContext& context, const std::string& what, const std::string& reason) {
  ShowMessage(context.owner, "'" + what + "' was not fixed:\n" + reason, kFailureTitle,
              {MessageButtons::kOk, MessageIcon::kExclamation});
  return false;
}

bool RefuseSevenZipRepair(ScanContext& context, const std::string& path) {
  return FailRepair(context, path, "Kestrel does not write 7z sets: rebuild the set as a zip to repair it !");
}

bool CheckChangeableFolder(ScanContext& context, const std::string& folder) {
  if (!context.fs.FolderExists(folder)) return FailRepair(context, folder, "The folder no longer exists !");
  if (context.fs.IsReadOnly(folder) || !context.fs.IsWritableFolder(folder)) {
    return FailRepair(context, folder, "The folder is read-only !");
  }
  return true;
}

std::vector<std::string> ProtectedFolders(const ScanContext& context) {
  std::vector<std::string> folders;
  auto protect = [&](const std::string& folder) {
    if (!folder.empty()) folders.push_back(ComparableFolder(folder));
  };
  protect(context.settings.backupFolder);
  protect(context.settings.tempFolder);
  protect(context.dataFolder);
  for (const PathEntry& misc : context.settings.miscPaths) protect(misc.path);
  return folders;
}

bool TouchesAnyFolder(const std::vector<std::string>& folders, const std::string& path) {
  std::string entry = ComparableFolder(path);
  std::string container = ComparableFolder(FolderPart(entry.substr(0, entry.size() - 1)));
  return std::any_of(folders.begin(), folders.end(), [&](const std::string& folder) {
    return container == folder || StartsWith(folder, entry);
  });
}

bool TouchesProtectedFolder(const ScanContext& context, const std::string& path) {
  return TouchesAnyFolder(ProtectedFolders(context), path);
}

bool ReplaceZipMember(ScanContext& context, const std::string& zipPath, const ZipEntryList& entries,
                      const ZipEntry& member, const std::string& file, const std::string& memberName) {
  ZipChanges changes;
  changes.deletedEntries.push_back(member);
  changes.additions.push_back({file, memberName});
  return ChangeZipMember(context, zipPath, entries, member, memberName, changes);
}

bool RenameZipMember(ScanContext& context, const std::string& zipPath, const ZipEntryList& entries,
                     const ZipEntry& member, const std::string& memberName) {
  ZipChanges changes;
  changes.deletedEntries.push_back(member);
  changes.copiedEntries.push_back({member, memberName});
  return ChangeZipMember(context, zipPath, entries, member, memberName, changes);
}

bool IsSameMember(const ZipEntry& a, const ZipEntry& b) {
  return a.headerOffset == b.headerOffset && a.storedName == b.storedName;
}

bool RereadZip(ScanContext& context, const std::string& zipPath, ZipEntryList& entries) {
  ZipProblem problem;
  bool read = context.fs.FileExists(zipPath) &&
              ReadZipDirectory(context.fs, zipPath, entries, false, &problem, context.zipHeaderCheck);
  TellZipProblem(context, problem);
  if (!read) entries.clear();
  return read;
}

}  // namespace kestrel
