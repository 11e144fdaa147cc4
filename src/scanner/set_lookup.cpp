#include "scanner/set_lookup.h"

#include <cstdio>

#include "archive/seven_zip_set.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "platform/text.h"
#include "report/scan_results.h"
#include "scanner/scan_context.h"
#include "scanner/set_read_ahead.h"

namespace kestrel {

std::string SetPathOf(const std::string& path, const std::string& setName) {
  return IsPlainFileName(setName) ? path + setName : std::string();
}

namespace {

const SetReadBefore* ReadBefore(const ScanContext& context, const std::string& setPath) {
  return context.readAhead != nullptr ? context.readAhead->Find(setPath) : nullptr;
}

// The set's files, as looked up ahead when they were.
SetFiles LookUpSet(FolderIndex& index, const std::string& setPath, const SetReadBefore* ahead) {
  if (ahead != nullptr) return ahead->files;
  return FindSetFiles(index, FolderPart(setPath), FileNamePart(setPath));
}

// Takes the 7z at `path` as the set; one that cannot be decoded leaves its
// ROMs unreadable.
void ReadSevenZip(FileSystem& fs, const std::string& path, SetOnDisk& set) {
  std::string fault;
  set.isZip = ReadSevenZipSet(fs, path, set.entries, fault);
  set.isSevenZip = set.isZip;
  if (set.isZip) {
    set.path = WithoutSevenZipExtension(path);
    set.unreadableZip.clear();
  } else if (set.unreadableZip.empty()) {
    set.unreadableZip = path;
  }
  IndexMembers(set);
}

SetOnDisk ReadSet(FileSystem& fs, FolderIndex& index, const std::string& setPath, ZipHeaderCheck headerCheck,
                  ZipProblem* problem, const SetReadBefore* ahead = nullptr) {
  SetOnDisk set;
  set.path = setPath;
  set.askedPath = setPath;
  std::string folder = FolderPart(setPath);
  SetFiles files = LookUpSet(index, setPath, ahead);
  if (const std::optional<IndexedName>& zip = files.zip) {
    ZipProblem fault;
    if (ahead != nullptr) {
      set.isZip = ahead->listed;
      set.entries = ahead->entries;
      fault = ahead->problem;
    } else {
      set.isZip = ReadZipDirectory(fs, folder + zip->name, set.entries, false, &fault, headerCheck);
    }
    if (!set.isZip && fault.fault == ZipFault::kNone) set.unreadableZip = folder + zip->name;
    if (set.isZip) set.path = WithoutZipExtension(folder + zip->name);
    if (!set.isZip) set.entries.clear();
    if (problem != nullptr) *problem = fault;
    IndexMembers(set);
  }
  if (!set.isZip && files.sevenZip) ReadSevenZip(fs, folder + files.sevenZip->name, set);
  if (files.folder) {
    set.hasFolder = true;
    set.folderPath = folder + files.folder->name;
    if (!set.isZip) set.path = set.folderPath;
  }
  return set;
}

}  // namespace

SetFiles LookUpSetFiles(ScanContext& context, const std::string& setPath) {
  return LookUpSet(context.folders, setPath, ReadBefore(context, setPath));
}

std::optional<std::string> FindSetPath(ScanContext& context, const std::string& setPath, bool* isZip) {
  std::string folder = FolderPart(setPath);
  SetFiles files = LookUpSetFiles(context, setPath);
  *isZip = files.zip.has_value() || files.sevenZip.has_value();
  if (files.zip) return folder + files.zip->name;
  if (files.sevenZip) return folder + files.sevenZip->name;
  if (files.folder) return folder + files.folder->name;
  return std::nullopt;
}

bool IsSpelledAsAsked(const SetOnDisk& set) {
  auto lastName = [](std::string_view path) {
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
    return FileNamePart(path);
  };
  return lastName(set.isZip ? set.path : set.folderPath) == lastName(set.askedPath);
}

SetOnDisk OpenSet(ScanContext& context, const std::string& setPath) {
  ZipProblem problem;
  SetOnDisk set = ReadSet(context.fs, context.folders, setPath, context.zipHeaderCheck, &problem,
                          ReadBefore(context, setPath));
  TellZipProblem(context, problem);
  return set;
}

std::string ArchiveFileOf(const SetOnDisk& set) { return set.path + (set.isSevenZip ? ".7z" : ".zip"); }

std::vector<uint64_t> ZipContentsSeenByMame(const SetOnDisk& set) {
  std::vector<uint64_t> contents;
  if (!set.isZip || !IsSpelledAsAsked(set)) return contents;
  for (const ZipEntry& entry : set.entries) contents.push_back(ContentKey(entry.size, entry.crc));
  return contents;
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
