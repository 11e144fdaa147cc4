// Every content in a few folders, by CRC-32 and size: each loose file's, each
// member's of a readable zip, and a zip that does not read whole as one
// file. What a collection holds, whatever its sets are called.
#pragma once

#include <compare>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrel::testing {

struct ContentKey {
  uint32_t crc = 0;
  uint64_t size = 0;
  auto operator<=>(const ContentKey&) const = default;
};

// Content -> where it was seen ("path" or "path.zip:member").
using Inventory = std::map<ContentKey, std::vector<std::string>>;

// Looks through `folders` (each ending with '/'; missing ones hold
// nothing). `scratch` is a file path outside them for extracting members.
Inventory TakeInventory(const std::vector<std::string>& folders, const std::string& scratch);

// One line for each content of `before` that `after` lacks, naming where it was.
std::vector<std::string> LostContents(const Inventory& before, const Inventory& after);

}  // namespace kestrel::testing
