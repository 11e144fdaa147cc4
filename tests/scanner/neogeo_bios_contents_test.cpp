// The shared NeoGeo BIOS counts only when its files hold the BIOS: a file of
// the right name and size with other contents is no BIOS, zipped or loose.
#include "scanner/scan_fixture.h"
#include "scanner/scan_state.h"

namespace kestrel::testing {
namespace {

class NeoGeoBiosContentsTest : public ScanFixture {};

TEST_F(NeoGeoBiosContentsTest, AFileWithOtherContentsIsNoBios) {
  std::vector<std::string> bios;
  std::vector<TestRom> roms = {{"g.rom", "game"}};
  for (size_t i = 0; i < 3; ++i) {
    bios.push_back(DataWithCrc(kNeoGeoBiosSize, kNeoGeoBiosCrcs[i]));
    roms.push_back({kNeoGeoBiosFiles[i], bios[i]});
  }
  AddGame("ng1", roms).hasNeoGeoBios = true;
  Link();
  WriteZipSet(romPath, "ng1", {{"g.rom", "game"}});
  const std::string other = DataWithCrc(kNeoGeoBiosSize, kNeoGeoBiosCrcs[0] ^ 1);
  std::vector<std::string> seen;
  for (bool zipped : {true, false}) {
    for (const std::string& first : {other, bios[0]}) {
      std::filesystem::remove_all(romPath + "neogeo");
      std::filesystem::remove_all(romPath + "neogeo.zip");
      Members files = {{kNeoGeoBiosFiles[0], first}, {kNeoGeoBiosFiles[1], bios[1]}, {kNeoGeoBiosFiles[2], bios[2]}};
      zipped ? WriteZipSet(romPath, "neogeo", files) : WriteFolderSet(romPath, "neogeo", files);
      Scan();
      seen.push_back(std::string(zipped ? "zip " : "folder ") + (RomScanOf("ng1", kNeoGeoBiosFiles[1]).found ? "bios" : "none"));
    }
  }
  EXPECT_EQ(seen, (Names{"zip none", "zip bios", "folder none", "folder bios"}));
}

}  // namespace
}  // namespace kestrel::testing
