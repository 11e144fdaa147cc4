#include "report/fastscan_file.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

GameList ThreeSets() {
  GameList database(3);
  database[1].needsScan = true;
  return database;
}

uint32_t IntAt(const std::string& bytes, size_t offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
  return value;
}

class FastscanFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings.dataCrc = 0xCAFE1234;
    settings.checkCase = true;
    settings.fixName = true;
    settings.scanGameTypes = 1;
    path = temp / "fastscan.fsc";
    ASSERT_TRUE(SaveFastscan(path, settings, ThreeSets()));
  }
  TempFolder temp;
  SettingsRecord settings;
  std::string path;
  ScriptedInterface ui;
};

TEST_F(FastscanFileTest, LayoutAndRoundTrip) {
  const std::string bytes = ReadFile(path);
  ASSERT_EQ(bytes.size(), 103u);
  EXPECT_EQ(IntAt(bytes, 0), 0xCAFE1234u);
  EXPECT_EQ(IntAt(bytes, 4), 3u);
  EXPECT_EQ(bytes.substr(8, 3), std::string("\0\1\0", 3));
  EXPECT_EQ(IntAt(bytes, 11 + 8 * 4), 1u);   // checkCase
  EXPECT_EQ(IntAt(bytes, 11 + 10 * 4), 1u);  // fixName
  EXPECT_EQ(IntAt(bytes, 11 + 18 * 4), 1u);  // showMissingZeroCrcs before zeroCrcCreation
  EXPECT_EQ(IntAt(bytes, 11 + 22 * 4), 1u);  // scanGameTypes

  // The user has changed options since: checks come back, fixes stay on.
  SettingsRecord current = settings;
  current.checkCase = false;
  current.fixName = false;
  current.fixLength = true;
  current.scanGameTypes = 2;
  GameList database(3);
  database[0].needsScan = true;
  ASSERT_TRUE(LoadFastscan(path, current, database, &ui));
  EXPECT_TRUE(current.checkCase);
  EXPECT_TRUE(current.fixName);
  EXPECT_TRUE(current.fixLength);
  EXPECT_EQ(current.scanGameTypes, 1);
  EXPECT_FALSE(database[0].needsScan);
  EXPECT_TRUE(database[1].needsScan);
  EXPECT_FALSE(database[2].needsScan);
  EXPECT_TRUE(ui.messages.empty());

  EXPECT_FALSE(SaveFastscan("", settings, database));
  EXPECT_FALSE(LoadFastscan("", current, database, &ui));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FastscanFileTest, ForeignOrDamagedFilesChangeNothing) {
  const std::string good = ReadFile(path);
  const std::string damaged = "Error while using fastscan file !\n\nDo a 'SCAN' operation first !";
  struct Case {
    std::string contents;
    uint32_t dataCrc;
    size_t sets;
    std::string message;
  };
  std::string wrongMode = good;
  wrongMode[good.size() - 4] = 7;
  const Case cases[] = {
      {good, 0x1, 3, "Fastscanfile isn't compatible to current data"},
      {good, settings.dataCrc, 4, damaged},  // count differs from the sets in memory
      {good.substr(0, 2), settings.dataCrc, 3, damaged},
      {good.substr(0, 9), settings.dataCrc, 3, damaged},
      {good.substr(0, 102), settings.dataCrc, 3, damaged},
      {wrongMode, settings.dataCrc, 3, damaged},
  };
  for (const Case& c : cases) {
    WriteFile(path, c.contents);
    SettingsRecord current;
    current.dataCrc = c.dataCrc;
    GameList database(c.sets);
    ASSERT_FALSE(LoadFastscan(path, current, database, &ui));
    EXPECT_FALSE(current.checkCase);
    EXPECT_EQ(current.scanGameTypes, 2);
    for (const GameSet& game : database) EXPECT_FALSE(game.needsScan);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, c.message);
    EXPECT_EQ(ui.messages.back().title, "Fastscan Error");
    EXPECT_EQ(ui.messages.back().icon, MessageIcon::kExclamation);
  }
  GameList database(3);
  EXPECT_FALSE(LoadFastscan(temp / "absent.fsc", settings, database, &ui));
  EXPECT_EQ(ui.messages.back().text, damaged);
}

}  // namespace
}  // namespace kestrel
