#include "report/folder_datfile.h"

#include <algorithm>
#include <set>

#include "archive/chd_header.h"
#include "archive/file_sha1.h"
#include "archive/seven_zip_set.h"
#include "archive/zip_reader.h"
#include "platform/folder_index.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "platform/text.h"

namespace kestrel {
namespace {

constexpr std::string_view kChdExtension = ".chd";

// The set's ROMs from a zip or a 7z; false (damage noted) when a member
// cannot be read whole, so that no set is described from half its contents.
bool ReadArchiveSet(FileSystem& fs, const std::string& path, DatGame& game, std::vector<ArchiveDamage>& damaged) {
  ZipEntryList members;
  std::string fault;
  if (HasSevenZipExtension(path) ? !ReadSevenZipSet(fs, path, members, fault)
                                 : !ReadZipDirectory(fs, path, members, false, nullptr)) {
    damaged.push_back({path, HasSevenZipExtension(path) ? "its 7z " + fault : "its zip structure is damaged"});
    return false;
  }
  for (const ZipEntry& member : members) {
    std::optional<Sha1Digest> sha1 = Sha1OfZipEntry(fs, member);
    if (!sha1) {
      damaged.push_back({path, "member " + member.storedName + " does not match its size and CRC-32, or cannot be read"});
      return false;
    }
    game.roms.push_back(DatRom{member.name, member.size, member.crc, sha1});
  }
  return true;
}

void ReadFolderDisk(FileSystem& fs, const std::string& path, DatGame& game, std::vector<ArchiveDamage>& damaged) {
  const ChdHeader header = ReadChdHeader(fs, path);
  if (header.status != ChdHeaderStatus::kGood) {
    damaged.push_back({path, "its CHD header cannot be read"});
    return;
  }
  const std::string name = FileNamePart(path);
  game.disks.push_back(DatDisk{name.substr(0, name.size() - kChdExtension.size()), header.sha1});
}

// The set's ROMs and disks from a folder; a file that cannot be read is
// noted and left out.
void ReadFolderSet(FileSystem& fs, const std::string& folder, DatGame& game, std::vector<ArchiveDamage>& damaged) {
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    if (entry.isFolder) continue;
    const std::string path = JoinPath(folder, entry.name);
    if (HasSuffixNoCase(entry.name, kChdExtension)) {
      ReadFolderDisk(fs, path, game, damaged);
      continue;
    }
    uint32_t size = 0, crc = 0;
    std::optional<Sha1Digest> sha1 = Sha1OfFile(fs, path);
    if (!sha1 || !ReadFileCrc(fs, path, size, crc)) {
      damaged.push_back({path, "cannot be read"});
      continue;
    }
    game.roms.push_back(DatRom{entry.name, size, crc, sha1});
  }
}

// Adds the ROMs and disks of `found`, at `path`, that `set` lacks (names
// without case). A ROM both hold with other contents makes the datfile
// ambiguous: which copy a scan takes is the scanner's choice, so it is named.
void AddMissingFiles(DatGame& set, const DatGame& found, const std::string& path,
                     std::vector<ArchiveDamage>& problems) {
  for (const DatRom& rom : found.roms) {
    auto have = std::find_if(set.roms.begin(), set.roms.end(),
                             [&](const DatRom& known) { return EqualsNoCase(known.name, rom.name); });
    if (have == set.roms.end()) set.roms.push_back(rom);
    else if (have->crc != rom.crc || have->size != rom.size)
      problems.push_back({path, "holds " + rom.name + " unlike the copy of set " + set.name + " found first"});
  }
  for (const DatDisk& disk : found.disks) {
    const bool known = std::any_of(set.disks.begin(), set.disks.end(),
                                   [&](const DatDisk& have) { return EqualsNoCase(have.name, disk.name); });
    if (!known) set.disks.push_back(disk);
  }
}

void AddSet(std::vector<DatGame>& games, DatGame found, const std::string& path,
            std::vector<ArchiveDamage>& problems) {
  if (found.roms.empty() && found.disks.empty()) return;
  for (DatGame& game : games) {
    if (EqualsNoCase(game.name, found.name)) return AddMissingFiles(game, found, path, problems);
  }
  games.push_back(std::move(found));
}

// The name of the set a top-level entry holds: a folder's, or a zip's or
// 7z's less its extension; "" for any other file.
std::string SetNameOf(const FolderEntry& entry) {
  if (entry.isFolder) return entry.name;
  if (HasZipExtension(entry.name)) return WithoutZipExtension(entry.name);
  if (HasSevenZipExtension(entry.name)) return WithoutSevenZipExtension(entry.name);
  return "";
}

// Adds the set `name` of `folder` from its files in the order the scan
// takes them (see set_files.h): zip, 7z, folder, each later one only with
// what the earlier lacked.
void DescribeSet(FileSystem& fs, FolderIndex& index, const std::string& folder, const std::string& name,
                 std::vector<DatGame>& games, std::vector<ArchiveDamage>& damaged) {
  const SetFiles files = FindSetFiles(index, folder, name);
  for (const std::optional<IndexedName>& archive : {files.zip, files.sevenZip}) {
    if (!archive) continue;
    const std::string path = JoinPath(folder, archive->name);
    DatGame game;
    game.name = HasSevenZipExtension(archive->name) ? WithoutSevenZipExtension(archive->name)
                                                    : WithoutZipExtension(archive->name);
    game.description = game.name;
    if (ReadArchiveSet(fs, path, game, damaged)) AddSet(games, std::move(game), path, damaged);
  }
  if (files.folder) {
    const std::string path = JoinPath(folder, files.folder->name);
    DatGame game;
    game.name = game.description = files.folder->name;
    ReadFolderSet(fs, path, game, damaged);
    AddSet(games, std::move(game), path, damaged);
  }
}

}  // namespace

std::vector<DatGame> DescribeFolderSets(FileSystem& fs, const std::vector<std::string>& folders,
                                        std::vector<ArchiveDamage>& damaged) {
  std::vector<DatGame> games;
  FolderIndex index(fs);
  for (const std::string& folder : folders) {
    std::set<std::string> described;  // lower-case set names
    for (const FolderEntry& entry : fs.ListFolder(folder)) {
      const std::string name = SetNameOf(entry);
      if (name.empty() || !described.insert(ToLowerAscii(name)).second) continue;
      DescribeSet(fs, index, folder, name, games, damaged);
    }
  }
  std::sort(games.begin(), games.end(),
            [](const DatGame& a, const DatGame& b) { return CompareNoCase(a.name, b.name) < 0; });
  return games;
}

}  // namespace kestrel
