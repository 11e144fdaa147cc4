// The rolling search must find exactly the window that computing every
// window's CRC afresh finds first.
#include "scanner/crc_window_search.h"

#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

std::optional<size_t> FirstWindowTheSlowWay(const std::string& data, size_t window, uint32_t crc) {
  for (size_t offset = 0; offset + window <= data.size(); ++offset) {
    if (Crc32(0, data.data() + offset, window) == crc) return offset;
  }
  return std::nullopt;
}

TEST(CrcWindowSearchTest, FindsTheFirstMatchingWindowWhereverItLies) {
  auto search = [](const std::string& data, size_t window, uint32_t crc) {
    return FindCrcWindow(reinterpret_cast<const uint8_t*>(data.data()), data.size(), window, crc, [] { return true; });
  };
  for (size_t length : {size_t{1}, size_t{300}, size_t{20011}}) {
    for (size_t window : {size_t{1}, size_t{64}, size_t{1000}}) {
      if (window > length) continue;
      std::string data = PseudoRandom(length, static_cast<unsigned>(length + window));
      const size_t offsets = length - window + 1;
      // The first and last offsets, the edges of the side-by-side stretches
      // and the offsets left over after them.
      for (size_t at : {size_t{0}, offsets / 4 - 1, offsets / 4, offsets / 2 + 1, offsets - 2, offsets - 1}) {
        if (at >= offsets) continue;
        std::string rom = PseudoRandom(window, static_cast<unsigned>(at) + 99), file = data;
        file.replace(at, window, rom);
        EXPECT_EQ(search(file, window, CrcOf(rom)), FirstWindowTheSlowWay(file, window, CrcOf(rom)))
            << "length " << length << " window " << window << " at " << at;
      }
      EXPECT_EQ(search(data, window, 0x12345678), FirstWindowTheSlowWay(data, window, 0x12345678));
    }
  }
}

}  // namespace
}  // namespace kestrel::testing
