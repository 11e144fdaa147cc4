#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "archive/file_sha1.h"
#include "gamedb/rom_home.h"
#include "platform/text.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

// Where a served ROM is written: the set and the name it has there.
struct Destination {
  std::string set;
  std::string romName;
  bool operator==(const Destination&) const = default;
};

// Where the chosen layout keeps the entry's ROM. The four NeoGeo BIOS ROMs
// go into every NeoGeo set when the game types ask for that, whatever the
// layout.
Destination DestinationOf(const RebuildState& state, const ZeroCrcIndexEntry& entry) {
  const GameSet& game = (*state.database)[size_t(entry.gameIndex)];
  const RomEntry& rom = game.roms[size_t(entry.romIndex)];
  bool intoEverySet = state.settings.rebuildGameTypes == RebuildGameTypes::kBiosInEverySet && IsNeoGeoBiosRom(rom);
  SetLayout layout = intoEverySet ? SetLayout::kFullNonMerged : state.settings.rebuildMergeMode;
  RomHome home = HomeOf(*state.database, game, rom, layout);
  return {home.set->name, home.name};
}

// The destinations of the entries [first, last) of an index, worked out
// once per source.
template <typename Entry>
std::vector<Destination> DestinationsOf(const RebuildState& state, const std::vector<Entry>& index, size_t first,
                                        size_t last) {
  std::vector<Destination> destinations;
  destinations.reserve(last - first);
  for (size_t i = first; i < last; ++i) destinations.push_back(DestinationOf(state, index[i]));
  return destinations;
}

// The other candidates that would produce the same destination file (a
// clone's ROM kept in its parent's set, a ROM of a BIOS set) count as
// served too.
template <typename Entry>
void MarkSameDestination(const std::vector<Entry>& index, std::vector<bool>& served, size_t first,
                         const std::vector<Destination>& destinations, const Entry& entry,
                         const Destination& destination) {
  for (size_t i = first; i < first + destinations.size(); ++i) {
    if (index[i].size == entry.size && destinations[i - first] == destination) served[i] = true;
  }
}

// The ROMs without a known dump whose name equals the source's without
// case, as [first, last) of the name-sorted index.
std::pair<size_t, size_t> FindNameRange(const std::vector<ZeroCrcIndexEntry>& index, const std::string& name) {
  auto first = std::lower_bound(index.begin(), index.end(), name, [](const ZeroCrcIndexEntry& entry, const std::string& n) {
    return CompareNoCase(entry.romName, n) < 0;
  });
  auto last = std::upper_bound(first, index.end(), name, [](const std::string& n, const ZeroCrcIndexEntry& entry) {
    return CompareNoCase(n, entry.romName) < 0;
  });
  return {size_t(first - index.begin()), size_t(last - index.begin())};
}

// The entries of [first, last) that earlier sources served, taken before
// the current source marks any: a source that finds its ROM served records
// where, so that it is removed only if that place holds its own contents.
std::vector<bool> ServedEarlier(const std::vector<bool>& served, size_t first, size_t last) {
  return std::vector<bool>(served.begin() + std::ptrdiff_t(first), served.begin() + std::ptrdiff_t(last));
}

template <typename Entry>
const RomEntry& RomOf(const RebuildState& state, const Entry& entry) {
  return (*state.database)[size_t(entry.gameIndex)].roms[size_t(entry.romIndex)];
}

// Whether the list tells the ROMs of [first, last) of this size apart by
// their SHA-1 alone: two of them list different ones, so their size and
// CRC-32 cannot say which of them a source is.
template <typename Entry>
bool ToldApartBySha1(const RebuildState& state, const std::vector<Entry>& index, size_t first, size_t last,
                     uint32_t size) {
  const Sha1Digest* seen = nullptr;
  for (size_t i = first; i < last; ++i) {
    if (uint32_t(index[i].size) != size) continue;
    const std::optional<Sha1Digest>& sha1 = RomOf(state, index[i]).sha1;
    if (!sha1) continue;
    if (seen != nullptr && *seen != *sha1) return true;
    seen = &*sha1;
  }
  return false;
}

std::optional<Sha1Digest> Sha1OfSource(FileSystem& fs, const SourceFile& file) {
  return file.IsMember() ? Sha1OfZipEntry(fs, file.entry) : Sha1OfFile(fs, file.path);
}

// Serves the source to the entries [first, last) of an index whose key it
// shares (the name of a ROM without a known dump, or a CRC-32): each ROM of
// its size that no earlier source served is written where the layout keeps
// it. False when a write failed and the run is to stop.
template <typename Entry>
bool ServeEntries(RebuildState& state, const SourceFile& file, const SourceKey& key, const std::vector<Entry>& index,
                  std::vector<bool>& served, size_t first, size_t last, bool separateBios) {
  std::vector<bool> earlier = ServedEarlier(served, first, last);
  std::vector<Destination> targets = DestinationsOf(state, index, first, last);
  // Read only where the list needs it: the source's own SHA-1 picks among
  // ROMs that share its size and CRC-32.
  const bool bySha1 = ToldApartBySha1(state, index, first, last, key.size);
  const std::optional<Sha1Digest> sourceSha1 = bySha1 ? Sha1OfSource(state.fs, file) : std::nullopt;
  for (size_t i = first; i < last; ++i) {
    const Entry& entry = index[i];
    if (entry.hasNeoGeoBios && state.settings.rebuildGameTypes == RebuildGameTypes::kArcadeOnly) continue;
    if (uint32_t(entry.size) != key.size) continue;
    if (bySha1 && RomOf(state, entry).sha1 && RomOf(state, entry).sha1 != sourceSha1) continue;
    state.matched = true;
    const Destination& target = targets[i - first];
    if (served[i]) {
      if (earlier[i - first]) NoteServedBefore(state, target.romName, target.set, separateBios);
      continue;
    }
    served[i] = true;
    MarkSameDestination(index, served, first, targets, entry, target);
    if (!PlaceRom(state, file, target.romName, target.set, separateBios)) {
      state.matched = false;
      return false;
    }
  }
  return true;
}

bool IsNeoGeoBiosKey(const SourceKey& key) {
  RomEntry rom;
  rom.size = static_cast<int32_t>(key.size);
  rom.crc = key.crc;
  return key.size <= INT32_MAX && IsNeoGeoBiosRom(rom);
}

bool RebuildZeroCrcs(RebuildState& state, const SourceFile& file, const SourceKey& key) {
  auto [first, last] = FindNameRange(state.zeroCrcIndex, key.name);
  return ServeEntries(state, file, key, state.zeroCrcIndex, state.zeroCrcServed, first, last, false);
}

// Full non-merged sets hold their BIOS ROMs themselves, so the NeoGeo BIOS
// goes into every NeoGeo set whatever the game types say.
bool RebuildByCrc(RebuildState& state, const SourceFile& file, const SourceKey& key) {
  bool separateBios = IsNeoGeoBiosKey(key) && state.settings.rebuildGameTypes == RebuildGameTypes::kSeparateBios &&
                      state.settings.rebuildMergeMode != SetLayout::kFullNonMerged;
  auto [first, last] = FindCrcRange(state.crcIndex, key.crc);
  return ServeEntries(state, file, key, state.crcIndex, state.crcServed, first, last, separateBios);
}

}  // namespace

bool RebuildFile(RebuildState& state, const SourceFile& file, const SourceKey& key, bool firstPass) {
  if (firstPass && state.settings.rebuildZeroCrcs && !RebuildZeroCrcs(state, file, key)) return false;
  return RebuildByCrc(state, file, key);
}

}  // namespace kestrel
