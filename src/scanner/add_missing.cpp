// Filling in a missing ROM from the add paths: found there by CRC-32 and
// size, placed into the first ROM path.
#include <optional>
#include <string>
#include <vector>

#include "archive/member_data.h"
#include "archive/seven_zip_set.h"
#include "archive/zip_library.h"
#include "archive/zip_reader.h"
#include "gamedb/rom_home.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "scanner/fix_operations.h"
#include "scanner/repair_support.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// Where a copy of the ROM lies: a zip member or a loose file.
struct RomSource {
  bool inZip = false;
  ZipEntry member;
  std::string file;
};

bool Matches(const RomEntry& rom, uint32_t crc, uint64_t size) {
  return (crc == rom.crc || crc == rom.crcComplement) && size == static_cast<uint64_t>(rom.size);
}

std::optional<RomSource> FindInMembers(const RomEntry& rom, const ZipEntryList& members) {
  for (const ZipEntry& member : members) {
    if (Matches(rom, member.crc, member.size)) return RomSource{true, member, ""};
  }
  return std::nullopt;
}

std::optional<RomSource> FindInFile(ScanContext& context, const RomEntry& rom, const std::string& path, uint64_t size) {
  if (size != static_cast<uint64_t>(rom.size)) return std::nullopt;
  uint32_t fileSize = 0;
  uint32_t crc = 0;
  if (!ReadFileCrc(context.fs, path, fileSize, crc) || !Matches(rom, crc, fileSize)) return std::nullopt;
  return RomSource{false, {}, path};
}

std::optional<RomSource> FindInSet(ScanContext& context, const RomEntry& rom, const std::string& setPath) {
  if (setPath.empty()) return std::nullopt;
  SetOnDisk set = OpenSet(context, setPath);
  if (set.isZip) return FindInMembers(rom, set.entries);
  if (!set.hasFolder) return std::nullopt;
  for (const FolderEntry& file : context.fs.ListFolder(set.folderPath)) {
    if (file.isFolder) continue;
    if (auto source = FindInFile(context, rom, JoinPath(set.folderPath, file.name), file.size)) return source;
  }
  return std::nullopt;
}

// The sets of the game's family inside one add path: its own, its
// parent's, its BIOS set, its clones'.
std::optional<RomSource> FindInFamilySets(ScanContext& context, const GameSet& game, const RomEntry& rom,
                                          const std::string& addPath) {
  std::vector<std::string> names = {game.name};
  if (game.hasParent) names.push_back(game.cloneOf);
  if (game.biosIndex >= 0) names.push_back(game.biosOf);
  for (const CloneRef& clone : game.clones) {
    if (clone.index >= 0 && clone.index < static_cast<int>(context.database.size())) {
      names.push_back(context.database[clone.index].name);
    }
  }
  for (const std::string& name : names) {
    if (auto source = FindInSet(context, rom, SetPathOf(addPath, name))) return source;
  }
  return std::nullopt;
}

// Reads what lies directly inside the add path; false when cancelled.
bool ReadAddPath(ScanContext& context, const std::string& addPath, AddPathContents& contents) {
  for (const FolderEntry& file : context.fs.ListFolder(addPath)) {
    PumpInterface(context);
    if (context.state.cancelRequested) return false;
    if (file.isFolder) continue;
    std::string path = JoinPath(addPath, file.name);
    ZipEntryList members;
    if (!ReadZipDirectory(context.fs, path, members, true, nullptr, context.zipHeaderCheck)) {
      contents.looseFiles.emplace(file.size, AddPathContents::LooseFile{path, std::nullopt});
      continue;
    }
    for (ZipEntry& member : members) {
      contents.members.emplace(std::make_pair(member.crc, uint64_t{member.size}), std::move(member));
    }
  }
  return true;
}

// Every file directly inside the add path, whatever its name, read once
// per scan. Nothing when cancelled.
std::optional<RomSource> FindAnywhereIn(ScanContext& context, const RomEntry& rom, const std::string& addPath) {
  auto [place, unread] = context.addPathContents.try_emplace(addPath);
  AddPathContents& contents = place->second;
  if (unread && !ReadAddPath(context, addPath, contents)) {
    context.addPathContents.erase(place);
    return std::nullopt;
  }
  uint64_t size = static_cast<uint64_t>(rom.size);
  for (uint32_t crc : {rom.crc, rom.crcComplement}) {
    auto member = contents.members.find({crc, size});
    if (member != contents.members.end()) return RomSource{true, member->second, ""};
  }
  auto [first, last] = contents.looseFiles.equal_range(size);
  for (auto file = first; file != last; ++file) {
    AddPathContents::LooseFile& loose = file->second;
    if (!loose.crc) {
      uint32_t fileSize = 0, crc = 0;
      if (!ReadFileCrc(context.fs, loose.path, fileSize, crc) || fileSize != size) continue;
      loose.crc = crc;
    }
    if (Matches(rom, *loose.crc, size)) return RomSource{false, {}, loose.path};
  }
  return std::nullopt;
}

std::optional<RomSource> FindSource(ScanContext& context, const GameSet& game, const RomEntry& rom) {
  for (const PathEntry& entry : context.settings.addPaths) {
    if (!entry.enabled || entry.path.empty()) continue;
    std::string addPath = WithTrailingSeparator(entry.path);
    if (auto source = FindInFamilySets(context, game, rom, addPath)) return source;
    PumpInterface(context);
    if (context.state.cancelRequested) return std::nullopt;
    if (!context.settings.fixMissingAdvanced) continue;
    if (auto source = FindAnywhereIn(context, rom, addPath)) return source;
    if (context.state.cancelRequested) return std::nullopt;
  }
  return std::nullopt;
}

bool AddToZipSet(ScanContext& context, const std::string& romName, const RomSource& source,
                 const std::string& setPath) {
  if (!TakeListedSetSpelling(context, setPath, true)) return false;
  std::string zipPath = context.fs.ResolvePath(setPath + ".zip");
  if (context.zipLibrary == nullptr) return FailRepair(context, zipPath, "Zip files cannot be written !");
  if (context.fs.FileExists(zipPath)) {
    ZipEntryList members;
    ZipProblem problem;
    bool listed = ReadZipDirectory(context.fs, zipPath, members, false, &problem, context.zipHeaderCheck);
    TellZipProblem(context, problem);
    if (!listed) {
      return FailRepair(context, zipPath, "It does not read as a zip file !");
    }
    for (const ZipEntry& member : members) {
      if (EqualsNoCase(member.name, romName)) {
        return FailRepair(context, zipPath, "It holds a member '" + member.storedName + "' already !");
      }
    }
  }
  ZipChanges changes;
  // A zip member moves as it is compressed; a 7z's is unpacked first.
  std::optional<WorkFolder> work;
  if (source.inZip && IsSevenZipMember(source.member)) {
    work.emplace(context.fs, context.settings.tempFolder);
    std::string unpacked = work->FileFor(romName);
    if (!work->ok() || !ExtractMemberData(context.fs, source.member, unpacked)) {
      return FailRepair(context, source.member.archivePath, "'" + source.member.storedName + "' could not be unpacked !");
    }
    changes.additions.push_back({unpacked, romName});
  } else if (source.inZip) {
    changes.copiedEntries.push_back({source.member, romName});
  } else {
    changes.additions.push_back({source.file, romName});
  }
  if (!ZipUpdate(context.fs, *context.zipLibrary, zipPath, changes)) {
    return FailRepair(context, zipPath, "The zip file could not be written; it is unchanged !");
  }
  return true;
}

bool AddToFolderSet(ScanContext& context, const std::string& romName, const RomSource& source,
                    const std::string& setPath) {
  bool madeFolder = false;
  if (!TakeListedSetSpelling(context, setPath, false)) return false;
  if (!context.fs.FolderExists(setPath)) {
    madeFolder = context.fs.CreateFolder(setPath);
    if (!madeFolder) return FailRepair(context, setPath, "The folder could not be made !");
  }
  if (!CheckChangeableFolder(context, setPath)) return false;
  std::string target = JoinPath(context.fs.ResolvePath(setPath), romName);
  bool added = false;
  if (context.fs.PathExists(target)) {
    FailRepair(context, target, "A file of that name is in the way !");
  } else {
    added = source.inZip ? ExtractMemberData(context.fs, source.member, target)
                         : context.fs.CopyFile(source.file, target, true);
    if (!added) FailRepair(context, target, "It could not be written !");
  }
  if (!added && madeFolder) context.fs.RemoveFolder(setPath);
  return added;
}

void MarkFound(SetScan& scan, RomScan& romScan) {
  if (!scan.found) {
    scan.found = true;
    scan.caseCorrect = true;
  }
  romScan.found = true;
  romScan.inListedSet = true;  // added to the set of the listed name
  romScan.lengthCorrect = true;
  romScan.caseCorrect = true;
  romScan.checksumCorrect = true;
}

}  // namespace

bool AddMissingRom(ScanContext& context, const GameSet& game, SetScan& scan, size_t romIndex) {
  const RomEntry& rom = game.roms[romIndex];
  std::optional<RomSource> source = FindSource(context, game, rom);
  if (context.state.cancelRequested) return false;
  if (!source) return true;
  // Into the set where the layout keeps the ROM, under its name there.
  RomHome target = HomeOf(context.database, game, rom, context.settings.scanMergeMode);
  std::string setPath = SetPathOf(context.state.firstRomPath, target.set->name);
  if (setPath.empty() || !IsPlainFileName(target.name)) return true;
  if (!CheckChangeableFolder(context, context.state.firstRomPath)) return true;
  // A zip beside the 7z would hide the 7z's ROMs from the next scan.
  SetFiles files = LookUpSetFiles(context, setPath);
  if (!files.zip && files.sevenZip) {
    RefuseSevenZipRepair(context, FolderPart(setPath) + files.sevenZip->name);
    return true;
  }
  bool added = context.state.createZipSet ? AddToZipSet(context, target.name, *source, setPath)
                                          : AddToFolderSet(context, target.name, *source, setPath);
  if (added) MarkFound(scan, scan.roms[romIndex]);
  return true;
}

}  // namespace kestrel
