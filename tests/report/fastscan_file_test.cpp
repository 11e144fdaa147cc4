#include "report/fastscan_file.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "report/scan_results.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;

TEST(FastscanFileTest, LayoutRoundTripAndDamagedFiles) {
  testing::TempFolder temp;
  const std::string path = temp / "fastscan.fsc";
  const uint32_t dataCrc = 0xCAFE1234;
  SettingsRecord saved;
  saved.checkCase = saved.fixName = true;
  saved.checkName = saved.showMissingZeroCrcs = false;
  saved.scanGameTypes = ScanGameTypes::kNeoGeoOnly;
  saved.scanMergeMode = SetLayout::kMerged;
  ScanResults sets(3);
  sets[1].needsScan = true;
  ASSERT_TRUE(SaveFastscan(path, saved, dataCrc, sets));
  const std::string good = ReadFile(path);
  ASSERT_EQ(good.size(), 103u);
  // Options changed since: the checks come back, a fix switched on stays.
  SettingsRecord current = saved;
  current.checkCase = current.fixName = false;
  current.checkName = current.showMissingZeroCrcs = true;
  current.fixLength = sets[0].needsScan = true;
  current.scanGameTypes = ScanGameTypes::kBoth;
  current.scanMergeMode = SetLayout::kNonMerged;
  ScriptedInterface ui;
  ASSERT_TRUE(LoadFastscan(path, current, dataCrc, sets, &ui));
  EXPECT_TRUE(current.checkCase && current.fixName && current.fixLength);
  EXPECT_FALSE(current.checkName || current.showMissingZeroCrcs);
  EXPECT_EQ(current.scanGameTypes, ScanGameTypes::kNeoGeoOnly);
  EXPECT_EQ(current.scanMergeMode, SetLayout::kMerged);
  EXPECT_EQ(sets[0].needsScan + 2 * sets[1].needsScan + 4 * sets[2].needsScan, 2);
  EXPECT_TRUE(ui.messages.empty());

  const std::string damaged = "Error while using fastscan file !\n\nDo a 'SCAN' operation first !";
  std::string badMode = good, negativeMode = good.substr(0, good.size() - 4) + "\xFF\xFF\xFF\xFF";
  badMode[good.size() - 4] = 7;
  const struct { std::string contents; uint32_t dataCrc; size_t sets; std::string message; } cases[] = {
      {good, 0x1, 3, "Fastscanfile isn't compatible to current data"},
      {good, dataCrc, 4, damaged},
      {good.substr(0, 102), dataCrc, 3, damaged},
      {good.substr(0, 2), dataCrc, 3, damaged},
      {badMode, dataCrc, 3, damaged},
      {negativeMode, dataCrc, 3, damaged},
  };
  for (const auto& c : cases) {
    testing::WriteFile(path, c.contents);
    SettingsRecord fresh;
    ScanResults scans(c.sets);
    ASSERT_FALSE(LoadFastscan(path, fresh, c.dataCrc, scans, &ui));
    EXPECT_FALSE(fresh.checkCase);
    for (const SetScan& scan : scans) EXPECT_FALSE(scan.needsScan);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, c.message);
    EXPECT_EQ(ui.messages.back().title, "Fastscan Error");
  }
  // No name is no file, and no message.
  const size_t told = ui.messages.size();
  SettingsRecord fresh;
  EXPECT_FALSE(LoadFastscan("", fresh, dataCrc, sets, &ui));
  EXPECT_EQ(ui.messages.size(), told);
}

// A file as every version so far has written it: data CRC 0x89ABCDEF, four
// sets of which the second and fourth had findings, the 21 switches, then
// merged sets and NeoGeo games only.
const std::string kEarlierFile(
    "\xef\xcd\xab\x89\x04\x00\x00\x00\x00\x01\x00\x01"
    "\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00"
    "\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00"
    "\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00"
    "\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00"
    "\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00"
    "\x00\x00\x00\x00\x02\x00\x00\x00\x01\x00\x00\x00",
    104);

TEST(FastscanFileTest, AnEarlierFileReadsBackAndIsRewrittenByteForByte) {
  testing::TempFolder temp;
  testing::WriteFile(temp / "earlier.fsc", kEarlierFile);
  const uint32_t dataCrc = 0x89ABCDEF;
  SettingsRecord settings;
  // Every fix off here, so that the file alone decides which are on.
  settings.fixUnneeded = settings.fixName = settings.fixLength = settings.fixCase = false;
  settings.fixMissing = settings.fixMissingAdvanced = false;
  ScanResults sets(4);
  ScriptedInterface ui;
  ASSERT_TRUE(LoadFastscan(temp / "earlier.fsc", settings, dataCrc, sets, &ui));
  EXPECT_TRUE(!sets[0].needsScan && sets[1].needsScan && !sets[2].needsScan && sets[3].needsScan);
  EXPECT_TRUE(settings.scanGames && !settings.scanRoms && settings.checkName && !settings.checkLength);
  EXPECT_TRUE(settings.fixName && settings.fixCase && settings.fixMissing && !settings.fixLength);
  EXPECT_EQ(settings.scanMergeMode, SetLayout::kMerged);
  EXPECT_EQ(settings.scanGameTypes, ScanGameTypes::kNeoGeoOnly);

  ASSERT_TRUE(SaveFastscan(temp / "again.fsc", settings, dataCrc, sets));
  EXPECT_EQ(ReadFile(temp / "again.fsc"), kEarlierFile);
}

}  // namespace
}  // namespace kestrel
