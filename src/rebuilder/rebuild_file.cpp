#include <algorithm>
#include <cstddef>
#include <vector>

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
  SetLayout layout = intoEverySet ? SetLayout::kNonMerged : state.settings.rebuildMergeMode;
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

bool RebuildZeroCrcs(RebuildState& state, const SourceFile& file, const SourceKey& key) {
  const SettingsRecord& settings = state.settings;
  auto [first, last] = FindNameRange(state.zeroCrcIndex, key.name);
  std::vector<bool> earlier = ServedEarlier(state.zeroCrcServed, first, last);
  std::vector<Destination> targets = DestinationsOf(state, state.zeroCrcIndex, first, last);
  for (size_t i = first; i < last; ++i) {
    const ZeroCrcIndexEntry& entry = state.zeroCrcIndex[i];
    if (entry.hasNeoGeoBios && settings.rebuildGameTypes == RebuildGameTypes::kArcadeOnly) continue;
    if (uint32_t(entry.size) != key.size) continue;
    state.matched = true;
    const Destination& target = targets[i - first];
    if (state.zeroCrcServed[i]) {
      if (earlier[i - first]) NoteServedBefore(state, target.romName, target.set, false);
      continue;
    }
    state.zeroCrcServed[i] = true;
    MarkSameDestination(state.zeroCrcIndex, state.zeroCrcServed, first, targets, entry, target);
    if (!PlaceRom(state, file, target.romName, target.set, false)) {
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

bool RebuildByCrc(RebuildState& state, const SourceFile& file, const SourceKey& key) {
  const SettingsRecord& settings = state.settings;
  bool separateBios = IsNeoGeoBiosKey(key) && settings.rebuildGameTypes == RebuildGameTypes::kSeparateBios;
  auto [first, last] = FindCrcRange(state.crcIndex, key.crc);
  std::vector<bool> earlier = ServedEarlier(state.crcServed, first, last);
  std::vector<Destination> targets = DestinationsOf(state, state.crcIndex, first, last);
  for (size_t i = first; i < last; ++i) {
    const CrcIndexEntry& entry = state.crcIndex[i];
    if (entry.hasNeoGeoBios && settings.rebuildGameTypes == RebuildGameTypes::kArcadeOnly) continue;
    if (uint32_t(entry.size) != key.size) continue;
    state.matched = true;
    const Destination& target = targets[i - first];
    if (state.crcServed[i]) {
      if (earlier[i - first]) NoteServedBefore(state, target.romName, target.set, separateBios);
      continue;
    }
    state.crcServed[i] = true;
    MarkSameDestination(state.crcIndex, state.crcServed, first, targets, entry, target);
    if (!PlaceRom(state, file, target.romName, target.set, separateBios)) {
      state.matched = false;
      return false;
    }
  }
  return true;
}

}  // namespace

bool RebuildFile(RebuildState& state, const SourceFile& file, const SourceKey& key, bool firstPass) {
  if (firstPass && state.settings.rebuildZeroCrcs && !RebuildZeroCrcs(state, file, key)) return false;
  return RebuildByCrc(state, file, key);
}

}  // namespace kestrel
