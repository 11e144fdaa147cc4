#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/text.h"
#include "rebuilder/rebuild_state.h"

namespace kestrel {
namespace {

constexpr int kNoMerging = 0;
constexpr int kSplitSets = 1;

// Where a served ROM is written: the set and the name it has there.
struct Destination {
  std::string set;
  std::string romName;
};

// With split or merged sets a ROM that the game's BIOS set holds belongs to
// that set alone, whether or not the BIOS set is selected; a game's set
// keeps only what is its own. The four NeoGeo BIOS ROMs follow the game
// types instead.
bool GoesToBiosSet(const ZeroCrcIndexEntry& entry, int mergeMode) {
  return mergeMode != kNoMerging && !entry.biosSet.empty() && !entry.isNeoGeoBios;
}

// The set a ROM goes into under the chosen layout: a BIOS ROM into its BIOS
// set under its name there; a clone's ROM into its parent's set with split
// sets only when the parent has the same ROM, with merged sets unless the
// family has another content of that name.
Destination DestinationOf(const ZeroCrcIndexEntry& entry, int mergeMode) {
  if (GoesToBiosSet(entry, mergeMode)) return {entry.biosSet, entry.biosRomName};
  bool intoParent = mergeMode == kSplitSets ? entry.inParent
                                            : mergeMode != kNoMerging && !entry.clashesInFamily;
  return {intoParent && !entry.cloneOf.empty() ? entry.cloneOf : entry.setName, entry.romName};
}

bool SharesDestination(const ZeroCrcIndexEntry& other, const Destination& destination, int mergeMode) {
  if (GoesToBiosSet(other, mergeMode))
    return other.biosSet == destination.set && other.biosRomName == destination.romName;
  return other.romName == destination.romName &&
         (other.setName == destination.set || other.cloneOf == destination.set);
}

// With split or merged sets, the other candidates that would produce the
// same destination file (same ROM name and size, in the target set or a
// clone of it, or the same ROM of the same BIOS set) count as served too.
template <typename Entry>
void MarkSameDestination(const std::vector<Entry>& index, std::vector<bool>& served, size_t first, size_t last,
                         const Entry& entry, const Destination& destination, int mergeMode) {
  if (mergeMode == kNoMerging) return;
  for (size_t i = first; i < last; ++i) {
    const Entry& other = index[i];
    if (other.size == entry.size && SharesDestination(other, destination, mergeMode)) served[i] = true;
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
  for (size_t i = first; i < last; ++i) {
    const ZeroCrcIndexEntry& entry = state.zeroCrcIndex[i];
    bool sameSize = uint32_t(entry.size) == key.size;
    state.matched = sameSize;
    if (entry.hasNeoGeoBios && settings.rebuildGameTypes == RebuildGameTypes::kArcadeOnly) continue;
    if (!sameSize) continue;
    Destination target = DestinationOf(entry, settings.rebuildMergeMode);
    if (state.zeroCrcServed[i]) {
      if (earlier[i - first]) NoteServedBefore(state, target.romName, target.set, false);
      continue;
    }
    state.zeroCrcServed[i] = true;
    MarkSameDestination(state.zeroCrcIndex, state.zeroCrcServed, first, last, entry, target,
                        settings.rebuildMergeMode);
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
  for (size_t i = first; i < last; ++i) {
    const CrcIndexEntry& entry = state.crcIndex[i];
    if (entry.hasNeoGeoBios && settings.rebuildGameTypes == RebuildGameTypes::kArcadeOnly) continue;
    bool sameSize = uint32_t(entry.size) == key.size;
    state.matched = sameSize;
    if (!sameSize) continue;
    Destination target = DestinationOf(entry, settings.rebuildMergeMode);
    if (state.crcServed[i]) {
      if (earlier[i - first]) NoteServedBefore(state, target.romName, target.set, separateBios);
      continue;
    }
    state.crcServed[i] = true;
    MarkSameDestination(state.crcIndex, state.crcServed, first, last, entry, target, settings.rebuildMergeMode);
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
