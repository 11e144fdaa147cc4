// What a set holds, told by content: the size and CRC-32 of each file or
// zip member. Two files of the same size and CRC-32 count as the same
// content, as zip members are compared everywhere in Kestrel.
#pragma once

#include <compare>
#include <cstdint>
#include <set>

namespace kestrel {

struct Content {
  uint32_t size = 0;
  uint32_t crc = 0;
  auto operator<=>(const Content&) const = default;
};

using ContentSet = std::set<Content>;

}  // namespace kestrel
