// Sets that serve more than one game: the NeoGeo BIOS counts only when its
// files hold the BIOS, and a copy of a sample another game's sample set
// holds is unneeded only when Kestrel follows sample sets (alternative
// samples) and calls copies found elsewhere unneeded (advanced unneeded).
#include "scanner/scan_fixture.h"
#include "scanner/scan_state.h"

namespace kestrel::testing {
namespace {

class SharedSetsTest : public RepairFixture {};

TEST_F(SharedSetsTest, ABiosFileOfOtherContentsIsNoBiosZippedOrLoose) {
  std::vector<TestRom> roms = {{"g.rom", "game"}};
  Members bios;  // the first three files
  for (size_t i = 0; i < 3; ++i) {
    roms.push_back({kNeoGeoBiosFiles[i], DataWithCrc(kNeoGeoBiosSize, kNeoGeoBiosCrcs[i])});
    bios[kNeoGeoBiosFiles[i]] = roms.back().data;
  }
  AddGame("ng1", roms).hasNeoGeoBios = true;
  Link();
  WriteZipSet(romPath, "ng1", {{"g.rom", "game"}});
  // Both copies hold a file of the right name and size but not the BIOS's.
  const std::string morePath = root / "more/";
  settings.romPaths.push_back({morePath});
  bios[kNeoGeoBiosFiles[0]] = DataWithCrc(kNeoGeoBiosSize, kNeoGeoBiosCrcs[0] ^ 1);
  WriteZipSet(romPath, "neogeo", bios);
  WriteFolderSet(morePath, "neogeo", bios);
  Scan();
  EXPECT_EQ(RomStates("ng1"), (Names{"g.rom", "neo-geo.rom missing", "ng-sfix.rom missing", "ng-sm1.rom missing"}));
}

TEST_F(SharedSetsTest, ABorrowedSamplesCopyIsUnneededOnlyWithBothSettings) {
  AddGame("lender", {{"l.rom", "lender"}});
  AddGame("borrower", {{"b.rom", "borrower"}});
  Link();
  Game("borrower").hasSampleOf = true;
  Game("borrower").sampleOf = "lender";
  AddSamples("borrower", {"x.wav"});
  WriteZipSet(romPath, "lender", {{"l.rom", "lender"}});
  WriteZipSet(romPath, "borrower", {{"b.rom", "borrower"}});
  WriteZipSet(samplePath, "lender", {{"x.wav", "x"}});
  WriteZipSet(samplePath, "borrower", {{"x.wav", "x"}, {"y.wav", "y"}});
  Names seen;
  for (int both = 0; both < 4; ++both) {
    settings.altSamplesSupport = both & 2;
    settings.advancedUnneeded = both & 1;
    Scan();
    seen.push_back(std::to_string(both));
    for (const std::string& name : UnneededNames("borrower")) seen.back() += " " + name;
  }
  EXPECT_EQ(seen, (Names{"0 y.wav", "1 y.wav", "2 y.wav", "3 x.wav y.wav"}));

  // Fixing the case of several samples of one zip renames each.
  settings.checkCase = settings.fixCase = true;
  AddSamples("lender", {"b.wav", "d.wav", "c.wav", "a.wav"});
  WriteZipSet(samplePath, "lender", {{"B.WAV", "b"}, {"C.wav", "c"}, {"a.wav", "a"}, {"d.WAV", "d"}});
  Scan();
  EXPECT_EQ(ZipMembers(samplePath + "lender.zip"),
            (Members{{"a.wav", "a"}, {"b.wav", "b"}, {"c.wav", "c"}, {"d.wav", "d"}, {"x.wav", "x"}}));
}

}  // namespace
}  // namespace kestrel::testing
