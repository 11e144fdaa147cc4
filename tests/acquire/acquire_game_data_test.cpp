#include "acquire/acquire_game_data.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <numeric>

#include "app/scripted_interface.h"
#include "archive/zip_reader.h"
#include "platform/file_system.h"
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
  std::string Names() const {
    return std::accumulate(database.begin(), database.end(), std::string(),
                           [](std::string names, const GameSet& game) { return names + game.name + " "; });
  }

  TempFolder data;
  TempFolder emulators;
  SettingsRecord settings;
  LoadedData loaded;
  GameList rawGames;
  GameList database;
  ListMessages listMessages;
  ScriptedInterface ui;
};

// An updated executable is run again, and a RAINE is asked for every
// listed game without a shell: the golden record emulator_sources.
TEST_F(AcquireTest, MameRunsOnceAndTheSameDataAreNotReadAgain) {
  settings.dataSource = DataSourceKind::kMameExe;
  settings.mameExe = MakeEmulator(emulators / "emu dir/mame", "mame");
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(Names(), "pacman puckman ");
  EXPECT_EQ(ReadFile(emulators / "emu dir/runs.log"), "-listinfo\n");
  EXPECT_EQ(ListFolder(data.path()).size(), 1u);  // the cache "_exedat", no listing left
  uint32_t size = 0, crc = 0;
  ASSERT_TRUE(ReadFileCrc(RealFileSystem(), settings.mameExe, size, crc));
  EXPECT_EQ(loaded.dataCrc, crc);

  // Same path with valid data: nothing is read at all.
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ui.progressTitles.size(), 1u);
}

// Today's MAME rejects -listinfo and lists its machines only as XML.
TEST_F(AcquireTest, MameWithoutListInfoIsAskedForTheXmlList) {
  settings.dataSource = DataSourceKind::kMameExe;
  settings.mameExe = MakeEmulator(emulators / "mame", "mame-xml");
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "runs.log"), "-listinfo\n-listxml\n");
  EXPECT_EQ(Names(), "pacman puckman ");

  // One that fails both ways leaves no data and forgets the path.
  settings.mameExe = MakeEmulator(emulators / "broken/mame", "mame-broken");
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(database.empty());
  EXPECT_EQ(settings.mameExe, "");
  EXPECT_EQ(ListFolder(data.path()).size(), 1u);  // the first one's cache, no listing

  // Stopped while -listinfo's answer is read, the user is not asked to wait
  // for the XML list as well.
  settings.mameExe = MakeEmulator(emulators / "stopped/mame", "mame");
  ui.cancelAtCheck = ui.cancelChecks + 1;
  EXPECT_FALSE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "stopped/runs.log"), "-listinfo\n");
  EXPECT_TRUE(database.empty());
}

// That a list's problems reach the caller alone, and that the cache holds
// the list already repaired: the golden record list_faults.

// Switching the source back and forth, or to another file, always leaves
// the chosen source's list in memory, whether read anew or from the cache;
// a failed load must not leave another source claiming the emptied data.
TEST_F(AcquireTest, EachLoadBringsTheChosenSourcesList) {
  const std::string mame = MakeEmulator(emulators / "mame", "mame");
  WriteFile(emulators / "one.dat", "game ( name galaga description G rom ( name g size 16 crc 12345678 ) )\n");
  WriteFile(emulators / "two.dat", "game ( name digdug description D rom ( name d size 16 crc 12345678 ) )\n");
  auto load = [&](DataSourceKind source, const std::string& path) {
    settings.dataSource = source;
    (source == DataSourceKind::kMameExe ? settings.mameExe : settings.datfile) = path;
    EXPECT_EQ(Acquire(), FileExists(path)) << path;
    return database.empty() ? std::string() : database[0].name;
  };
  for (int round = 0; round < 2; ++round) {  // the second round from the caches
    EXPECT_EQ(load(DataSourceKind::kMameExe, mame), "pacman");
    EXPECT_EQ(load(DataSourceKind::kDatfile, emulators / "one.dat"), "galaga");
    EXPECT_EQ(load(DataSourceKind::kDatfile, emulators / "missing.dat"), "");
    EXPECT_EQ(load(DataSourceKind::kMameExe, mame), "pacman");
    EXPECT_EQ(load(DataSourceKind::kDatfile, emulators / "two.dat"), "digdug");
  }
  // Data read from a datfile do not pass for a MAME's of the same path.
  settings.mameExe = settings.datfile;
  settings.dataSource = DataSourceKind::kMameExe;
  EXPECT_FALSE(Acquire());
  // A profile's source number that names no source loads nothing.
  settings.dataSource = DataSourceKind{7};
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(database.empty());
  EXPECT_FALSE(loaded.source.has_value());
}

}  // namespace
}  // namespace kestrel
