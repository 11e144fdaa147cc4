// How the game list readers turn field values into numbers, shared by the
// text format and the XML forms so that both read a value the same way.
#pragma once

#include <cstdint>
#include <string>

#include "gamedb/game_set.h"

namespace kestrel {

// A signed decimal number from the start of `text` (leading blanks and a
// sign allowed, text after the digits ignored), clamped to 32 bits. False,
// with `value` unchanged, when no digit is there.
bool ReadSignedDecimal(const std::string& text, int32_t& value);

// A hexadecimal number from the start of `text`, either case, with or
// without a "0x" prefix, clamped to 32 bits. False, with `value` unchanged,
// when no digit is there.
bool ReadHexadecimal(const std::string& text, uint32_t& value);

// A ROM's size: decimal, or hexadecimal after "0x" as MAME's software
// lists write it ("0x2000"); clamped to 32 bits signed. False, with `value`
// unchanged, when no digit is there.
bool ReadRomSize(const std::string& text, int32_t& value);

// A dump status as both forms write it: "nodump", "baddump", anything else
// a good dump.
DumpStatus ReadDumpStatus(const std::string& text);

// Removes blanks and tabs from the end, as the tokenizer does with values.
void TrimTrailingBlanks(std::string& text);

}  // namespace kestrel
