// What the scan switches leave out: a switch that is off must change what is
// found and reported, never only how it is worded.

#include <cstdio>

#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b');

std::string MissingRomLine(const std::string& name, const std::string& data) {
  char crcs[40];
  std::snprintf(crcs, sizeof crcs, "%x (%x)", CrcOf(data), ~CrcOf(data));
  return "missing rom: " + name + " [length: " + std::to_string(data.size()) + "] [chksum: " + crcs + "]\n";
}

class ScanSwitchesScopeTest : public ScanFixture {
 protected:
  std::string ScanAndRender() {
    scanResults.clear();
    Scan();
    std::string text;
    for (const std::string& line : Lines()) text += line + "\n";
    return text;
  }
};

TEST_F(ScanSwitchesScopeTest, EachSwitchNarrowsWhatIsFoundAndReported) {
  settings.checkCase = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("shared", {});
  Link();
  AddSamples("alpha", {"s.wav"});
  AddSamples("shared", {"s.wav"});
  Game("alpha").hasSampleOf = true;
  Game("alpha").sampleOf = "shared";
  WriteZipSet(romPath, "Alpha", {{"a.rom", kA}});
  WriteZipSet(romPath, "zzz", {{"a.rom", kA}, {"b.rom", kB}});
  WriteFolderSet(samplePath, "shared", {{"s.wav", "s"}});
  const std::string header = "alpha game [folder: alpha]\n";
  const std::string zzz = romPath + "zzz.zip";

  EXPECT_EQ(ScanAndRender(), "wrong name: " + zzz + " [wrong: zzz] [right: alpha]\n" + header +
                                 "wrong spelling: alpha [wrong: Alpha] [right: alpha]\n" +
                                 MissingRomLine("b.rom", kB));
  EXPECT_TRUE(ScanOf("alpha").samples[0].found);

  settings.checkName = settings.altSamplesSupport = false;
  EXPECT_EQ(ScanAndRender(), "unneeded file: " + zzz + "\n" + header +
                                 "wrong spelling: alpha [wrong: Alpha] [right: alpha]\n" +
                                 MissingRomLine("b.rom", kB) + "missing sample: s.wav\n");

  settings.scanGames = settings.scanSamples = false;
  settings.altSamplesSupport = true;
  EXPECT_EQ(ScanAndRender(), header + MissingRomLine("b.rom", kB));
  EXPECT_FALSE(ScanOf("alpha").found || ScanOf("alpha").samples[0].found);
}

}  // namespace
}  // namespace kestrel::testing
