// What a file held, told apart from any other content: its size, CRC-32 and
// SHA-1. The journal records it for every content a run moves or replaces,
// and an undo puts back only what still has it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/sha1_digest.h"

namespace kestrel {

struct ContentIdentity {
  uint64_t size = 0;
  uint32_t crc = 0;
  Sha1Digest sha1{};

  bool operator==(const ContentIdentity&) const = default;
};

// The identity of the regular file `path`; nullopt when it cannot be read
// to its end.
std::optional<ContentIdentity> IdentifyFile(FileSystem& fs, const std::string& path);

// "SIZE CRC SHA1" (CRC as 8 hexadecimal digits), and back; nullopt for any
// other text.
std::string IdentityText(const ContentIdentity& identity);
std::optional<ContentIdentity> ParseIdentity(std::string_view text);

}  // namespace kestrel
