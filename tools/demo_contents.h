// The contents of the demo game list's ROMs. The list was made from a byte
// pattern per ROM, so the files can be made again from the list alone.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "gamedb/game_set.h"

namespace kestrel::demo {

// Bytes whose CRC-32 is `crc`: `prefix` followed by four bytes chosen to
// reach it.
std::string ForgeCrc(std::string prefix, uint32_t crc);

// The contents of every ROM of `rawGames` (in file order, as parsed) by
// CRC: the pattern of its 1-based position in the file, the contents of
// the first ROM with the same CRC, zeros for a 0-CRC ROM, or forged bytes
// where no pattern gives the CRC (the BIOS files).
std::map<uint32_t, std::string> MakeRomContents(const GameList& rawGames);

}  // namespace kestrel::demo
