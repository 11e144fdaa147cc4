// A SHA-1 digest as the game lists write it: 40 hexadecimal digits. Kept as
// 20 bytes, since a list of many thousand ROMs holds one per ROM.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

using Sha1Digest = std::array<uint8_t, 20>;

// The digest written as 40 hexadecimal digits (either case); nullopt for
// any other text, a list's empty or damaged value included.
std::optional<Sha1Digest> ParseSha1(std::string_view text);

// The digest as 40 lower-case hexadecimal digits, as MAME writes it.
std::string Sha1Text(const Sha1Digest& digest);

}  // namespace kestrel
