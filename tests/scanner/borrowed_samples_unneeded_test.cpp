// A game that plays the samples of another game's sample set may keep copies
// in its own set; a copy there is unneeded only when Kestrel is told to
// follow those sample sets (alternative samples) and to call copies found
// elsewhere unneeded (advanced unneeded), both at once.
#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

class BorrowedSamplesUnneededTest : public RepairFixture {};

TEST_F(BorrowedSamplesUnneededTest, ACopyIsUnneededOnlyWithBothSettings) {
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
  for (bool alternative : {false, true}) {
    for (bool advanced : {false, true}) {
      settings.altSamplesSupport = alternative;
      settings.advancedUnneeded = advanced;
      Scan();
      std::string unneeded;
      for (const std::string& name : UnneededNames("borrower")) unneeded += " " + name;
      seen.push_back(std::to_string(alternative) + std::to_string(advanced) + unneeded);
    }
  }
  EXPECT_EQ(seen, (Names{"00 y.wav", "01 y.wav", "10 y.wav", "11 x.wav y.wav"}));
}

}  // namespace
}  // namespace kestrel::testing
