// Reading the text files that emulators write, one line at a time.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/file_system.h"

namespace kestrel {

// Reads the next line without its line end ("\n" or "\r\n"). Only the first
// `keep` characters are kept, the rest of an over-long line is skipped, so a
// file without line breaks cannot take all memory. False at the end of the
// file when nothing was read.
bool ReadLine(std::FILE* file, std::string& line, size_t keep = 4096);

// `text` without blanks and tabs at both ends.
std::string TrimBlanks(const std::string& text);

}  // namespace kestrel
