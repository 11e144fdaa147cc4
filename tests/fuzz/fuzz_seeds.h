// What the generated seeds and the harnesses that read them agree on.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrel::fuzz {

// The data CRC under which seeds of the data cache and the fastscan file
// are written, and the number of sets the fastscan harness's database has.
inline constexpr uint32_t kSeedDataKey = 0x4b657374;
inline constexpr size_t kSeedGameCount = 5;

}  // namespace kestrel::fuzz
