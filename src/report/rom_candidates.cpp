#include "report/rom_candidates.h"

#include <algorithm>

#include "archive/seven_zip_set.h"
#include "archive/zip_reader.h"
#include "gamedb/rom_home.h"
#include "report/logiqx_datfile.h"
#include "platform/folder_index.h"
#include "platform/paths.h"
#include "platform/set_files.h"
#include "platform/text.h"

namespace kestrel {
namespace {

// The members of a zip or 7z set; none when it cannot be listed.
void AddArchiveMembers(FileSystem& fs, const std::string& zipPath, PlacedFile place, std::vector<PlacedFile>& files) {
  ZipEntryList members;
  std::string fault;
  if (HasSevenZipExtension(zipPath) ? !ReadSevenZipSet(fs, zipPath, members, fault)
                                    : !ReadZipDirectory(fs, zipPath, members, false, nullptr))
    return;
  for (const ZipEntry& member : members) {
    place.path = zipPath + "/" + member.storedName;
    place.name = member.name;
    place.size = member.size;
    place.crc = member.crc;
    files.push_back(place);
  }
}

void AddLooseFile(const std::string& path, const FolderEntry& entry, PlacedFile place, std::vector<PlacedFile>& files) {
  place.path = path;
  place.name = entry.name;
  place.size = static_cast<uint32_t>(std::min<uint64_t>(entry.size, UINT32_MAX));
  files.push_back(place);
}

void AddFolderFiles(FileSystem& fs, const std::string& folder, const PlacedFile& place, std::vector<PlacedFile>& files) {
  for (const FolderEntry& entry : fs.ListFolder(folder)) {
    if (!entry.isFolder) AddLooseFile(JoinPath(folder, entry.name), entry, place, files);
  }
}

void AddPathFiles(FileSystem& fs, FolderIndex& index, const std::string& root, bool addPath,
                  std::vector<PlacedFile>& files) {
  const std::vector<FolderEntry> entries = fs.ListFolder(root);
  for (const FolderEntry& entry : entries) {
    const std::string path = JoinPath(root, entry.name);
    PlacedFile place;
    place.inAddPath = addPath;
    if (entry.isFolder) {
      place.setName = entry.name;
      const SetFiles set = FindSetFiles(index, root, entry.name);
      place.besideZip = set.zip || set.sevenZip;
      AddFolderFiles(fs, path, place, files);
    } else if (HasZipExtension(entry.name)) {
      place.setName = WithoutZipExtension(entry.name);
      AddArchiveMembers(fs, path, place, files);
    } else if (HasSevenZipExtension(entry.name)) {
      place.setName = WithoutSevenZipExtension(entry.name);
      AddArchiveMembers(fs, path, place, files);
    } else if (addPath) {
      AddLooseFile(path, entry, place, files);
    }
  }
}

bool HasRomCrc(const RomEntry& rom, const PlacedFile& file) {
  return file.crc && (*file.crc == rom.crc || *file.crc == rom.crcComplement);
}

bool IsNamed(const std::string& name, const std::vector<const GameSet*>& sets) {
  return std::any_of(sets.begin(), sets.end(), [&](const GameSet* set) { return EqualsNoCase(set->name, name); });
}

// The sets the add-missing fix looks for a ROM of the game in, inside an
// add path: its own, its parent's, its BIOS set's, its clones'.
std::vector<const GameSet*> FamilySets(const GameList& database, const GameSet& game) {
  std::vector<const GameSet*> sets = {&game};
  if (game.parentIndex >= 0) sets.push_back(&database[game.parentIndex]);
  if (game.biosIndex >= 0) sets.push_back(&database[game.biosIndex]);
  for (const CloneRef& clone : game.clones)
    if (clone.index >= 0 && clone.index < static_cast<int>(database.size())) sets.push_back(&database[clone.index]);
  return sets;
}

std::string ContentReason(const RomEntry& rom, const PlacedFile& file) {
  if (file.size != static_cast<uint32_t>(rom.size))
    return "its size is " + std::to_string(file.size) + ", the ROM's " + std::to_string(rom.size);
  if (!file.crc) return "its CRC-32 cannot be read";
  return "its CRC-32 is " + CrcText(*file.crc) + ", the ROM's " + CrcText(rom.crc);
}

struct RomContext {
  const GameList& database;
  const GameSet& game;
  const RomEntry& rom;
  RomHome home;
  std::vector<const GameSet*> searched;
  std::string layoutName;
};

const std::string& HomeSetName(const RomContext& c) { return c.home.set ? c.home.set->name : c.game.name; }

std::string AddPathReason(const RomContext& c, const PlacedFile& file) {
  if (!HasRomCrc(c.rom, file) || file.size != static_cast<uint32_t>(c.rom.size)) return ContentReason(c.rom, file);
  if (!file.setName.empty() && IsNamed(file.setName, FamilySets(c.database, c.game)))
    return "in an add path: the scan adds it to " + HomeSetName(c) + " with --fix-missing";
  return "in an add path outside the family's sets: the scan adds it with --fix-missing-advanced";
}

std::string RomPathReason(const RomContext& c, const PlacedFile& file, bool sameName) {
  if (!HasRomCrc(c.rom, file) || file.size != static_cast<uint32_t>(c.rom.size)) return ContentReason(c.rom, file);
  if (!IsNamed(file.setName, c.searched))
    return "in set " + file.setName + ", which the " + c.layoutName + " layout does not search for this ROM: it belongs in " +
           HomeSetName(c) + " as " + c.home.name;
  if (file.besideZip) return "in the set's folder, beside a zip or 7z of the set's name, which the scan takes instead";
  if (!sameName) return "the right contents under another name: the scan finds a ROM by its name (" + c.home.name + ")";
  return "right by name, size and CRC-32: its SHA-1 may differ, or it cannot be read";
}

// Whether `name` is a ROM of one of the searched sets: a file of merely the
// same size that is some other ROM's says nothing about this one.
bool IsListedRom(const RomContext& c, const std::string& name) {
  return std::any_of(c.searched.begin(), c.searched.end(), [&](const GameSet* set) {
    return std::any_of(set->roms.begin(), set->roms.end(),
                       [&](const RomEntry& other) { return EqualsNoCase(other.name, name); });
  });
}

std::string Likeness(bool sameName, bool sameSize, bool sameCrc) {
  std::string text;
  const auto add = [&text](const char* part) { text += (text.empty() ? "" : ", ") + std::string(part); };
  if (sameName) add("same name");
  if (sameSize) add("same size");
  if (sameCrc) add("same CRC-32");
  return text;
}

}  // namespace

std::vector<PlacedFile> ListPlacedFiles(FileSystem& fs, const std::vector<std::string>& romPaths,
                                        const std::vector<std::string>& addPaths) {
  std::vector<PlacedFile> files;
  FolderIndex index(fs);
  for (const std::string& path : romPaths) AddPathFiles(fs, index, path, false, files);
  for (const std::string& path : addPaths) AddPathFiles(fs, index, path, true, files);
  return files;
}

namespace {

// Adds `file` to the candidates when it tells something about the ROM:
// the same name or contents anywhere, or the same size in a searched set
// where it is no other ROM's file. A loose file's CRC-32 is read first
// when its name or size makes it worth reading.
void JudgeFile(FileSystem& fs, const RomContext& c, PlacedFile& file, std::vector<RomCandidate>& candidates) {
  const bool sameName = EqualsNoCase(file.name, c.rom.name) || EqualsNoCase(file.name, c.home.name);
  const bool sameSize = file.size == static_cast<uint32_t>(c.rom.size);
  if (!file.crc && (sameName || sameSize)) {
    uint32_t size = 0, crc = 0;
    if (ReadFileCrc(fs, file.path, size, crc)) file.crc = crc;
  }
  const bool sameCrc = HasRomCrc(c.rom, file);
  const bool searchedSet = !file.inAddPath && IsNamed(file.setName, c.searched);
  const bool telling = sameName || sameCrc || (sameSize && searchedSet && !IsListedRom(c, file.name));
  if (!telling) return;
  const std::string reason = file.inAddPath ? AddPathReason(c, file) : RomPathReason(c, file, sameName);
  candidates.push_back({&file, Likeness(sameName, sameSize, sameCrc), reason});
}

template <class Key>
void TakeGroup(const std::unordered_map<Key, std::vector<size_t>>& groups, const Key& key,
               std::vector<size_t>& taken) {
  auto found = groups.find(key);
  if (found == groups.end()) return;
  const size_t count = std::min(found->second.size(), CandidateIndex::kMostLookedAt);
  taken.insert(taken.end(), found->second.begin(), found->second.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace

std::vector<RomCandidate> FindRomCandidates(FileSystem& fs, const GameList& database, const GameSet& game,
                                            const RomEntry& rom, SetLayout layout, const std::string& layoutName,
                                            std::vector<PlacedFile>& files) {
  const RomContext c{database, game, rom, HomeOf(database, game, rom, layout),
                     SetsSearchedFor(database, game, layout), layoutName};
  std::vector<RomCandidate> candidates;
  for (PlacedFile& file : files) JudgeFile(fs, c, file, candidates);
  return candidates;
}

CandidateIndex IndexPlacedFiles(const std::vector<PlacedFile>& files) {
  CandidateIndex index;
  for (size_t i = 0; i < files.size(); ++i) {
    const PlacedFile& file = files[i];
    index.byName[ToLowerAscii(file.name)].push_back(i);
    if (file.crc) index.byCrc[*file.crc].push_back(i);
    else index.looseBySize[file.size].push_back(i);
    if (!file.inAddPath) index.bySet[ToLowerAscii(file.setName)].push_back(i);
  }
  return index;
}

std::vector<RomCandidate> FindIndexedRomCandidates(FileSystem& fs, const GameList& database, const GameSet& game,
                                                   const RomEntry& rom, SetLayout layout,
                                                   const std::string& layoutName, std::vector<PlacedFile>& files,
                                                   const CandidateIndex& index) {
  const RomContext c{database, game, rom, HomeOf(database, game, rom, layout),
                     SetsSearchedFor(database, game, layout), layoutName};
  std::vector<size_t> looked;
  TakeGroup(index.byName, ToLowerAscii(rom.name), looked);
  TakeGroup(index.byName, ToLowerAscii(c.home.name), looked);
  TakeGroup(index.byCrc, rom.crc, looked);
  TakeGroup(index.byCrc, rom.crcComplement, looked);
  TakeGroup(index.looseBySize, static_cast<uint32_t>(rom.size), looked);
  for (const GameSet* set : c.searched) TakeGroup(index.bySet, ToLowerAscii(set->name), looked);
  std::sort(looked.begin(), looked.end());
  looked.erase(std::unique(looked.begin(), looked.end()), looked.end());
  std::vector<RomCandidate> candidates;
  for (size_t i : looked) JudgeFile(fs, c, files[i], candidates);
  return candidates;
}

}  // namespace kestrel
