#include "report/fastscan_file.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;

uint32_t IntAt(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

// Each option in its own place, as other versions read the file: one switch
// on at a time, written and read back over the opposite settings.
TEST(FastscanFileTest, EverySwitchHasItsPlace) {
  using S = SettingsRecord;
  bool S::* const inFileOrder[] = {
      &S::scanGames,      &S::scanRoms,          &S::scanSamples,      &S::checkMissing,
      &S::checkChecksum,  &S::checkUnneeded,     &S::checkName,        &S::checkLength,
      &S::checkCase,      &S::fixUnneeded,       &S::fixName,          &S::fixLength,
      &S::fixCase,        &S::fixMissing,        &S::fixMissingAdvanced, &S::allowDoubleNames,
      &S::altSamplesSupport, &S::advancedUnneeded, &S::showMissingZeroCrcs, &S::zeroCrcCreation,
      &S::askBeforeFixing};
  testing::TempFolder temp;
  GameList database(1);
  ScriptedInterface ui;
  for (size_t on = 0; on < std::size(inFileOrder); ++on) {
    SCOPED_TRACE(on);
    SettingsRecord saved;
    for (auto field : inFileOrder) saved.*field = false;
    saved.*inFileOrder[on] = true;
    ASSERT_TRUE(SaveFastscan(temp / "f.fsc", saved, database));
    const std::string bytes = ReadFile(temp / "f.fsc");
    for (size_t i = 0; i < std::size(inFileOrder); ++i) EXPECT_EQ(IntAt(bytes, 9 + 4 * i), i == on ? 1u : 0u);

    SettingsRecord loaded;
    for (auto field : inFileOrder) loaded.*field = false;
    ASSERT_TRUE(LoadFastscan(temp / "f.fsc", loaded, database, &ui));
    for (size_t i = 0; i < std::size(inFileOrder); ++i) EXPECT_EQ(loaded.*inFileOrder[i], i == on);
  }
}

TEST(FastscanFileTest, RoundTripAndDamagedFiles) {
  testing::TempFolder temp;
  const std::string path = temp / "fastscan.fsc";
  SettingsRecord saved;
  saved.dataCrc = 0xCAFE1234;
  saved.checkCase = saved.fixName = true;
  saved.scanGameTypes = 1;
  GameList database(3);
  database[1].needsScan = true;
  ASSERT_TRUE(SaveFastscan(path, saved, database));
  const std::string good = ReadFile(path);
  ASSERT_EQ(good.size(), 103u);
  EXPECT_EQ(IntAt(good, 0), 0xCAFE1234u);
  EXPECT_EQ(IntAt(good, 4), 3u);
  EXPECT_EQ(good.substr(8, 3), std::string("\0\1\0", 3));
  EXPECT_EQ(IntAt(good, 11 + 22 * 4), 1u);  // scanGameTypes

  // Options changed since: the checks come back, a fix switched on stays.
  SettingsRecord current = saved;
  current.checkCase = current.fixName = false;
  current.fixLength = true;
  database[0].needsScan = true;
  ScriptedInterface ui;
  ASSERT_TRUE(LoadFastscan(path, current, database, &ui));
  EXPECT_TRUE(current.checkCase && current.fixName && current.fixLength);
  EXPECT_EQ(current.scanGameTypes, 1);
  EXPECT_EQ(database[0].needsScan + 2 * database[1].needsScan + 4 * database[2].needsScan, 2);
  EXPECT_FALSE(LoadFastscan("", current, database, &ui));
  EXPECT_TRUE(ui.messages.empty());

  const std::string damaged = "Error while using fastscan file !\n\nDo a 'SCAN' operation first !";
  std::string badMode = good;
  badMode[good.size() - 4] = 7;
  const struct { std::string contents; uint32_t dataCrc; size_t sets; std::string message; } cases[] = {
      {good, 0x1, 3, "Fastscanfile isn't compatible to current data"},
      {good, saved.dataCrc, 4, damaged},  // a count other than the sets in memory
      {good.substr(0, 2), saved.dataCrc, 3, damaged},
      {good.substr(0, 9), saved.dataCrc, 3, damaged},
      {good.substr(0, 102), saved.dataCrc, 3, damaged},
      {badMode, saved.dataCrc, 3, damaged},
  };
  for (const auto& c : cases) {
    testing::WriteFile(path, c.contents);
    SettingsRecord fresh;
    fresh.dataCrc = c.dataCrc;
    GameList games(c.sets);
    ASSERT_FALSE(LoadFastscan(path, fresh, games, &ui));
    EXPECT_FALSE(fresh.checkCase);
    for (const GameSet& game : games) EXPECT_FALSE(game.needsScan);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, c.message);
    EXPECT_EQ(ui.messages.back().title, "Fastscan Error");
  }
  EXPECT_FALSE(LoadFastscan(temp / "absent.fsc", saved, database, &ui));
  EXPECT_EQ(ui.messages.back().text, damaged);
}

}  // namespace
}  // namespace kestrel
