#include "acquire/acquire_game_data.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

// Copies the emulator stand-in `name` of tests/acquire/emulators/ to
// `path`; each notes its calls in runs.log of its working folder.
std::string MakeEmulator(const std::string& path, const std::string& name) {
  WriteFile(path, ReadFile(testing::SourceDir() + "tests/acquire/emulators/" + name));
  ::chmod(path.c_str(), 0755);
  return path;
}

struct AcquireTest : ::testing::Test {
  bool Acquire() { return AcquireGameData(settings, loaded, rawGames, database, &ui, data.path(), listMessages); }

  TempFolder data;
  TempFolder emulators;
  SettingsRecord settings;
  LoadedData loaded;
  GameList rawGames;
  GameList database;
  ListMessages listMessages;
  ScriptedInterface ui;
};

// Stopped while -listinfo's answer is read, the user is not asked to wait
// for the XML list as well. (The command line cannot stop a load.)
TEST_F(AcquireTest, AStopDuringTheFirstListAsksForNoOther) {
  settings.dataSource = DataSourceKind::kMameExe;
  settings.mameExe = MakeEmulator(emulators / "stopped/mame", "mame");
  ui.cancelAtCheck = 1;
  EXPECT_FALSE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "stopped/runs.log"), "-listinfo\n");
  EXPECT_TRUE(database.empty());
}

// A failed load must not leave another source claiming the emptied data:
// a datfile gone after a load, or a profile's source number that names no
// source. (The command line refuses both before loading.)
TEST_F(AcquireTest, AFailedLoadLeavesNoSourceClaimingTheData) {
  WriteFile(emulators / "one.dat", "game ( name galaga description G rom ( name g size 16 crc 12345678 ) )\n");
  settings.dataSource = DataSourceKind::kDatfile;
  settings.datfile = emulators / "one.dat";
  ASSERT_TRUE(Acquire());
  settings.datfile = emulators / "missing.dat";
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(database.empty());
  EXPECT_FALSE(loaded.source.has_value());
  settings.datfile = emulators / "one.dat";
  ASSERT_TRUE(Acquire());
  // The data of a datfile do not pass for a MAME's of the same path.
  settings.mameExe = settings.datfile;
  settings.dataSource = DataSourceKind::kMameExe;
  EXPECT_FALSE(Acquire());
  settings.dataSource = DataSourceKind{7};
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(database.empty());
  EXPECT_FALSE(loaded.source.has_value());
}

}  // namespace
}  // namespace kestrel
