// How profiles and fastscan files store a set layout: a small number, whose
// meaning differs between the tools (the merger never offered non-merged).
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "gamedb/set_layout.h"

namespace kestrel {

// The layout of each stored number, in number order.
using LayoutCodes = std::span<const SetLayout>;

// rebuildMergeMode and scanMergeMode: 0 non-merged, 1 split, 2 merged, 3 full
// non-merged. Full non-merged came last, so that older profiles keep their
// meaning; an older program refuses the new number as it does any unknown one.
inline constexpr SetLayout kToolLayoutCodes[] = {SetLayout::kNonMerged, SetLayout::kSplit, SetLayout::kMerged,
                                                 SetLayout::kFullNonMerged};
// mergeMode: 0 split, 1 merged.
inline constexpr SetLayout kMergerLayoutCodes[] = {SetLayout::kSplit, SetLayout::kMerged};

// The number `layout` is stored as; -1 when the table has none for it.
inline int32_t LayoutCode(SetLayout layout, LayoutCodes codes) {
  for (size_t code = 0; code < codes.size(); ++code)
    if (codes[code] == layout) return static_cast<int32_t>(code);
  return -1;
}

// The layout stored as `code`; nullopt for a number no table gives.
inline std::optional<SetLayout> LayoutOfCode(int32_t code, LayoutCodes codes) {
  if (code < 0 || static_cast<size_t>(code) >= codes.size()) return std::nullopt;
  return codes[static_cast<size_t>(code)];
}

}  // namespace kestrel
