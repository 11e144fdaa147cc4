// Fixing the case of several samples in one zip: each rename finds the
// member it is for, however the zip's members moved in the rename before.
#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

class SampleCaseFixTest : public RepairFixture {};

TEST_F(SampleCaseFixTest, EverySampleOfAZipGetsItsListedName) {
  settings.checkCase = settings.fixCase = true;
  AddGame("game", {{"g.rom", "game"}});
  Link();
  AddSamples("game", {"b.wav", "d.wav", "c.wav", "a.wav"});
  WriteZipSet(romPath, "game", {{"g.rom", "game"}});
  WriteZipSet(samplePath, "game", {{"B.WAV", "b"}, {"C.wav", "c"}, {"a.wav", "a"}, {"d.WAV", "d"}});

  Scan();

  EXPECT_EQ(ZipMembers(samplePath + "game.zip"), (Members{{"a.wav", "a"}, {"b.wav", "b"}, {"c.wav", "c"}, {"d.wav", "d"}}));
}

}  // namespace
}  // namespace kestrel::testing
