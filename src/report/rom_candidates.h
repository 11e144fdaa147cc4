// Why a ROM is missing or wrong: the files seen that resemble it (same name,
// same CRC-32, same size) in its set, its family, other sets and the add
// paths, each with the reason the scan did not take it. Where a ROM lives
// and which sets are searched for it come from gamedb/rom_home.h, the rule
// the scanner checks by; nothing here is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "gamedb/game_set.h"
#include "gamedb/set_layout.h"
#include "platform/file_system.h"

namespace kestrel {

// A file seen at the top level of a ROM path or an add path.
struct PlacedFile {
  std::string path;     // the zip's path, '/', the member's stored name; or the loose file's path
  std::string setName;  // the zip (without ".zip") or folder it lies in; empty for a file directly in an add path
  std::string name;     // the file's own name
  uint32_t size = 0;
  std::optional<uint32_t> crc;  // a member's as recorded; a loose file's once read
  bool inAddPath = false;
  bool besideZip = false;  // in a set folder beside a zip or 7z of the set's name, which the scan takes instead
};

// Every member of the zips and 7z archives and every file of the folders at the top of each
// path, and (add paths) the files directly inside; a zip that does not read
// is left out. Loose files' CRCs are read later, only where needed.
std::vector<PlacedFile> ListPlacedFiles(FileSystem& fs, const std::vector<std::string>& romPaths,
                                        const std::vector<std::string>& addPaths);

struct RomCandidate {
  const PlacedFile* file = nullptr;
  std::string likeness;  // "same name, same size", "same CRC-32", ...
  std::string reason;    // why the scan did not take it for the ROM
};

// The files resembling `rom`, a ROM of `game`, under `layout` (called
// `layoutName` in the reasons): a same-named or same-content file anywhere,
// and a same-sized one in a set searched for the ROM unless it bears the
// name of another ROM of those sets. Reads the CRC-32 of
// loose files of the ROM's size or name into `files`.
std::vector<RomCandidate> FindRomCandidates(FileSystem& fs, const GameList& database, const GameSet& game,
                                            const RomEntry& rom, SetLayout layout, const std::string& layoutName,
                                            std::vector<PlacedFile>& files);

// The files of a whole collection by what can make one resemble a ROM, for
// explaining every faulty ROM of a scan: each ROM then looks at the files
// of its name, CRC-32 and size, and those of the sets searched for it, not
// at every file. Each group is looked at up to kMostLookedAt files deep, in
// the files' order, so that a collection of like files stays linear.
struct CandidateIndex {
  static constexpr size_t kMostLookedAt = 64;
  std::unordered_map<std::string, std::vector<size_t>> byName;       // lower-case name
  std::unordered_map<uint32_t, std::vector<size_t>> byCrc;           // members' recorded CRC-32
  std::unordered_map<uint32_t, std::vector<size_t>> looseBySize;     // loose files, their CRC-32 unread
  std::unordered_map<std::string, std::vector<size_t>> bySet;        // lower-case set name, ROM paths only
};
CandidateIndex IndexPlacedFiles(const std::vector<PlacedFile>& files);

// FindRomCandidates over the files `index` points to for the ROM, in the
// files' order.
std::vector<RomCandidate> FindIndexedRomCandidates(FileSystem& fs, const GameList& database, const GameSet& game,
                                                   const RomEntry& rom, SetLayout layout,
                                                   const std::string& layoutName, std::vector<PlacedFile>& files,
                                                   const CandidateIndex& index);

}  // namespace kestrel
