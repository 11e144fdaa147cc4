// The CRC-32 of test data, in one call.
#pragma once

#include <cstdint>
#include <string>

#include "archive/crc32.h"

namespace kestrel::testing {

inline uint32_t CrcOf(const std::string& data) { return Crc32(0, data.data(), data.size()); }

}  // namespace kestrel::testing
