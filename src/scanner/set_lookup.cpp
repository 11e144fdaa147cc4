#include "scanner/set_lookup.h"

#include <cstdio>

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "platform/text.h"
#include "scanner/scan_context.h"

namespace kestrel {

std::string SetPathOf(const std::string& path, const std::string& setName) {
  return IsPlainFileName(setName) ? path + setName : std::string();
}

std::optional<std::string> FindSetPath(FolderIndex& index, const std::string& setPath,
                                       bool* isZip) {
  std::string folder = FolderPart(setPath);
  SetFiles files = FindSetFiles(index, folder, FileNamePart(setPath));
  *isZip = files.zip.has_value();
  if (files.zip) return folder + files.zip->name;
  if (files.folder) return folder + files.folder->name;
  return std::nullopt;
}

namespace {

SetOnDisk ReadSet(FileSystem& fs, FolderIndex& index, const std::string& setPath, ZipHeaderCheck headerCheck,
                  ZipProblem* problem) {
  SetOnDisk set;
  set.path = setPath;
  set.askedPath = setPath;
  std::string folder = FolderPart(setPath);
  SetFiles files = FindSetFiles(index, folder, FileNamePart(setPath));
  if (const std::optional<IndexedName>& zip = files.zip) {
    ZipProblem fault;
    set.isZip = ReadZipDirectory(fs, folder + zip->name, set.entries, false, &fault, headerCheck);
    if (!set.isZip && fault.fault == ZipFault::kNone) set.unreadableZip = folder + zip->name;
    if (set.isZip) set.path = WithoutZipExtension(folder + zip->name);
    if (!set.isZip) set.entries.clear();
    if (problem != nullptr) *problem = fault;
    IndexMembers(set);
  }
  if (files.folder) {
    set.hasFolder = true;
    set.folderPath = folder + files.folder->name;
    if (!set.isZip) set.path = set.folderPath;
  }
  return set;
}

}  // namespace

SetOnDisk OpenSet(ScanContext& context, const std::string& setPath) {
  ZipProblem problem;
  SetOnDisk set = ReadSet(context.fs, context.folders, setPath, context.zipHeaderCheck, &problem);
  TellZipProblem(context, problem);
  return set;
}

void IndexMembers(SetOnDisk& set) {
  set.membersByName.clear();
  for (size_t i = 0; i < set.entries.size(); ++i) {
    set.membersByName[ToLowerAscii(set.entries[i].name)].push_back(static_cast<int>(i));
  }
}

int FindMember(const SetOnDisk& set, std::string_view name) {
  auto found = set.membersByName.find(ToLowerAscii(name));
  if (found == set.membersByName.end()) return -1;
  for (int index : found->second) {
    if (set.entries[index].name == name) return index;
  }
  return found->second.front();
}

std::optional<std::string> FindLooseFile(FileSystem& fs, const std::string& folder, std::string_view name) {
  if (!IsPlainFileName(name)) return std::nullopt;
  std::optional<std::string> path = fs.FindPath(JoinPath(folder, name));
  if (!path) return std::nullopt;
  // The file counts as present when it opens; only regular files open, so
  // a folder of that name is no ROM.
  if (!fs.OpenForReading(*path)) return std::nullopt;
  return path;
}

bool FindFileInSet(FileSystem& fs, FolderIndex& index, ZipHeaderCheck headerCheck, const std::string& path, bool checkContents,
                   uint32_t crc, uint32_t size) {
  std::string folder = FolderPart(path);
  std::string fileName = FileNamePart(path);
  if (folder.empty()) return false;
  SetOnDisk set = ReadSet(fs, index, folder.substr(0, folder.size() - 1), headerCheck, nullptr);
  if (set.isZip) {
    int member = FindMember(set, fileName);
    if (member >= 0) {
      const ZipEntry& entry = set.entries[member];
      return !checkContents || (entry.crc == crc && entry.size == size);
    }
  }
  if (!set.hasFolder) return false;
  std::optional<std::string> loose = FindLooseFile(fs, set.folderPath, fileName);
  if (!loose) return false;
  if (!checkContents) return true;
  uint32_t looseSize = 0;
  uint32_t looseCrc = 0;
  return ReadFileCrc(fs, *loose, looseSize, looseCrc) && looseSize == size && looseCrc == crc;
}

}  // namespace kestrel
