// The SHA-1 check: a ROM of the right size and CRC-32 but other contents is
// found out by its SHA-1, in a zip of any method, a 7z and as a loose file,
// and only when asked.
#include <gtest/gtest.h>

#include "../archive/archive_fixtures.h"
#include "scan_fixture.h"

namespace kestrel::testing {
namespace {

constexpr char kSha1OfPpp[] = "b3054ff0797ff0b2bbce03ec897fe63e0b6490e0";
constexpr char kSha1OfCcc[] = "f36b4825e5db2cf7dd2d2593b3f5c24c0311d8b2";
constexpr char kOtherSha1[] = "0000000000000000000000000000000000000001";

class RomSha1Test : public ScanFixture {
 protected:
  // Each game's "good" ROM lists its contents' SHA-1, its "odd" ROM
  // another one, and its "none" ROM none.
  RomSha1Test() {
    for (const char* name : {"zipped", "loose", "squeezed", "packed"}) {
      AddGame(name, {{"good", "ppp"}, {"odd", "ccc"}, {"none", "nnn"}});
      // Sorted by name: good, none, odd.
      database.back().roms[0].sha1 = ParseSha1(kSha1OfPpp);
      database.back().roms[2].sha1 = ParseSha1(kOtherSha1);
    }
    Link();
    WriteZipSet(romPath, "zipped", {{"good", "ppp"}, {"odd", "ccc"}, {"none", "nnn"}});
    WriteFolderSet(romPath, "loose", {{"good", "ppp"}, {"odd", "ccc"}, {"none", "nnn"}});
    // zstd, bzip2 and xz members, decoded through libarchive.
    WriteFile(romPath + "squeezed.zip", BuildZip({CompressedMember("good", "ppp", 93), CompressedMember("odd", "ccc", 12),
                                                  CompressedMember("none", "nnn", 95)}));
    WriteFile(romPath + "packed.7z", PackArchive(Packing::k7z, {{"good", "ppp"}, {"odd", "ccc"}, {"none", "nnn"}}));
  }
};

TEST_F(RomSha1Test, FindsContentsOfTheRightCrcButAnotherSha1OnlyWhenAsked) {
  Scan();
  EXPECT_EQ(Lines(), Names{}) << "the CRC-32 alone is checked by default";
  settings.checkSha1 = true;
  Scan();
  const std::string odd = std::string("wrong sha1: odd [wrong: ") + kSha1OfCcc + "] [right: " + kOtherSha1 + "]";
  const std::string bad = "romset: bad (odd INCORRECT CHECKSUM)";
  EXPECT_EQ(Lines(), (Names{"loose game [folder: loose]", odd, bad, "packed game [folder: packed]", odd, bad,
                            "squeezed game [folder: squeezed]", odd, bad, "zipped game [folder: zipped]", odd, bad}));
  for (const char* set : {"zipped", "squeezed", "packed"}) EXPECT_EQ(RomScanOf(set, "good").foundSha1, kSha1OfPpp) << set;
  EXPECT_TRUE(RomScanOf("loose", "none").foundSha1.empty()) << "a ROM the list gives no SHA-1 is not read";
  settings.checkChecksum = false;
  Scan();
  EXPECT_EQ(Lines(), Names{}) << "the SHA-1 check belongs to the checksum check";
}

}  // namespace
}  // namespace kestrel::testing
