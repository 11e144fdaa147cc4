// Finding a ROM inside a longer file: the first window of the ROM's length
// whose CRC-32 is the ROM's.
//
// The CRC of a window is rolled from the one before (the byte that enters
// is folded in, the effect of the byte that leaves is taken out), so the
// search costs a few table look-ups per offset however long the window is,
// and finds exactly the window that computing every window's CRC afresh
// would find first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace kestrel {

// The lowest offset at which `windowLength` bytes of `data` have CRC-32
// `crc` (initial value 0). `keepGoing` is called now and then (about every
// quarter million offsets); when it answers false the search ends as not found.
std::optional<size_t> FindCrcWindow(const uint8_t* data, size_t length, size_t windowLength,
                                    uint32_t crc, const std::function<bool()>& keepGoing);

}  // namespace kestrel
