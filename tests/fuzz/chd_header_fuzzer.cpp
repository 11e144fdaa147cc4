// The start of a file named like a disk image, as the scanner meets it: its
// header parsed, whatever the bytes.
#include <cstddef>
#include <cstdint>

#include "archive/chd_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kestrel::ParseChdHeader(data, size, size);
  kestrel::ParseChdHeader(data, size, uint64_t{1} << 40);
  return 0;
}
