#include "acquire/import_paths.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::SourceDir;
using testing::TempFolder;
using testing::WriteFile;

std::vector<std::string> Paths(const PathList& list) {
  std::vector<std::string> paths;
  for (const PathEntry& entry : list) paths.push_back(entry.path);
  return paths;
}

TEST(ImportPathsTest, RealConfigurationResolvesAgainstItsOwnFolder) {
  std::string real = SourceDir() + "../shared/realdats/mame4all-pi-adv_mame.cfg";
  if (!FileExists(real)) GTEST_SKIP() << "no " << real;
  TempFolder folder;
  WriteFile(folder / "emu/mame.cfg", ReadFile(real));
  std::filesystem::create_directories(folder / "emu/Roms");
  SettingsRecord settings;
  ASSERT_TRUE(ImportPaths(folder / "emu/mame.cfg", settings));

  ASSERT_EQ(settings.romPaths.size(), 1u);
  EXPECT_EQ(settings.romPaths[0].path, folder / "emu/Roms/");
  EXPECT_TRUE(settings.romPaths[0].enabled);
  EXPECT_EQ(settings.romPaths[0].position, 0);
  ASSERT_EQ(settings.samplePaths.size(), 1u);
  EXPECT_EQ(settings.samplePaths[0].path, "samples/");
  EXPECT_FALSE(settings.samplePaths[0].enabled);
  // inp, nvram, hi, cfg, snap, memcard, sta, artwork and "." (the cheat folder).
  ASSERT_EQ(settings.miscPaths.size(), 9u);
  EXPECT_EQ(settings.miscPaths[8].path, folder / "emu/");
  EXPECT_EQ(settings.miscPaths[8].position, 8);
}

TEST(ImportPathsTest, ValuesSplitAtSemicolonsWithoutDoublesOrComments) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "roms");
  std::filesystem::create_directories(folder / "more");
  WriteFile(folder / "cfg/kestrel.cfg",
            "rompath=outside\n"
            "[Directory]\r\n"
            "  RomPath = ../roms ; " + folder.path() + "more/ ;; later\r\n"
            "# note=not a path\n"
            "rompath=../ROMS\n"
            "no value here\n"
            "  [not a section]\n"
            "SamplePath=" + folder.path() + "cfg\n"
            "[config]\n"
            "samplepath=after\n");
  SettingsRecord settings;
  settings.miscPaths.push_back({"/kept/", true, -1, 0, 0});
  ASSERT_TRUE(ImportPaths(folder / "cfg/kestrel.cfg", settings));
  EXPECT_EQ(Paths(settings.romPaths), (std::vector<std::string>{folder / "roms/", folder / "more/"}));
  EXPECT_EQ(Paths(settings.samplePaths), std::vector<std::string>{folder / "cfg/"});
  EXPECT_EQ(Paths(settings.miscPaths), std::vector<std::string>{"/kept/"});

  SettingsRecord none;
  WriteFile(folder / "plain.cfg", "rompath=roms\n");
  EXPECT_TRUE(ImportPaths(folder / "plain.cfg", none));
  EXPECT_FALSE(ImportPaths(folder / "missing.cfg", none));
  EXPECT_TRUE(none.romPaths.empty());
}

}  // namespace
}  // namespace kestrel
