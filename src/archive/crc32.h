// The CRC-32 of the zip format (ISO 3309, reflected polynomial 0xEDB88320).
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrel {

// Continues `crc` over `length` bytes; from 0 it gives the zip CRC of the
// bytes, and the result of one call may be passed to the next. A null
// buffer yields 0.
uint32_t Crc32(uint32_t crc, const void* buffer, size_t length);

}  // namespace kestrel
