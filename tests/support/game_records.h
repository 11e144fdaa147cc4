// Database records for tests, made in one line.
#pragma once

#include <cstdint>
#include <string>

#include "gamedb/game_set.h"

namespace kestrel::testing {

inline RomEntry Rom(const std::string& name, int32_t size, uint32_t crc) {
  RomEntry rom;
  rom.name = name;
  rom.size = size;
  SetRomCrc(rom, crc);
  return rom;
}

}  // namespace kestrel::testing
