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

constexpr char kListing[] =
    "game ( name pacman description \"Pac-Man\" rom ( name pac.6e size 4096 crc c1e6ab10 ) )\n"
    "game ( name puckman description \"Puck Man\" cloneof pacman\n"
    " rom ( name pac.6e size 4096 crc c1e6ab10 ) rom ( name puck.6f size 4096 crc 1a6fb2d4 ) )\n";

// An emulator stand-in: notes each call in runs.log of its working folder.
std::string MakeEmulator(const std::string& path, const std::string& body) {
  WriteFile(path, "#!/bin/sh\necho \"$@\" >> runs.log\n" + body);
  ::chmod(path.c_str(), 0755);
  return path;
}

std::string MakeMame(const std::string& path) {
  return MakeEmulator(path, std::string("cat <<'END'\n") + kListing + "END\n");
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

TEST_F(AcquireTest, MameRunsOnceThenTheCacheServesUntilTheExecutableChanges) {
  settings.dataSource = DataSourceKind::kMameExe;
  settings.mameExe = MakeMame(emulators / "emu dir/mame");
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

  // Loaded again, an updated executable under the same path is run again.
  WriteFile(settings.mameExe, ReadFile(settings.mameExe) + "# newer\n");
  loaded = LoadedData{};
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "emu dir/runs.log"), "-listinfo\n-listinfo\n");
  EXPECT_NE(loaded.dataCrc, crc);
}

// Today's MAME rejects -listinfo and lists its machines only as XML.
TEST_F(AcquireTest, MameWithoutListInfoIsAskedForTheXmlList) {
  settings.dataSource = DataSourceKind::kMameExe;
  settings.mameExe = MakeEmulator(
      emulators / "mame",
      "if [ \"$1\" = -listinfo ]; then echo 'Error: unknown option: -listinfo' >&2; exit 1; fi\n"
      "cat <<'END'\n<?xml version=\"1.0\"?>\n<mame build=\"0.251\">\n"
      "<machine name=\"pacman\"><description>Pac-Man</description>"
      "<rom name=\"pac.6e\" size=\"4096\" crc=\"c1e6ab10\"/></machine>\n"
      "<machine name=\"puckman\" cloneof=\"pacman\" romof=\"pacman\"><description>Puck Man</description>"
      "<rom name=\"puck.6f\" size=\"4096\" crc=\"1a6fb2d4\"/><disk name=\"hd\"/></machine>\n</mame>\nEND\n");
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "runs.log"), "-listinfo\n-listxml\n");
  EXPECT_EQ(Names(), "pacman puckman ");

  // One that fails both ways leaves no data and forgets the path.
  settings.mameExe = MakeEmulator(emulators / "broken/mame", "echo '<mame><machine name=\"x\">'\n");
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(database.empty());
  EXPECT_EQ(settings.mameExe, "");
  EXPECT_EQ(ListFolder(data.path()).size(), 1u);  // the first one's cache, no listing

  // Stopped while -listinfo's answer is read, the user is not asked to wait
  // for the XML list as well.
  settings.mameExe = MakeMame(emulators / "stopped/mame");
  ui.cancelAtCheck = ui.cancelChecks + 1;
  EXPECT_FALSE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "stopped/runs.log"), "-listinfo\n");
  EXPECT_TRUE(database.empty());
}

TEST_F(AcquireTest, RaineAsksForEveryListedGameWithoutAShell) {
  settings.dataSource = DataSourceKind::kRaineExe;
  settings.raineExe = MakeEmulator(emulators / "raine dir/raine", R"SH(case "$1" in
-gamelist) printf 'Raine: 3 Games Supported\n\n  pacman    Pac-Man\r\nlongername1 Long\nx;:>pwn Odd\n' ;;
-gameinfo)
  echo "game ( name $2 description \"Game $2\""
  [ "$2" = longerna ] && echo " romof pacman"
  echo " rom ( name $2.rom size 16 crc 1234abcd ) )" ;;
esac
)SH");
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "raine dir/runs.log"),
            "-gamelist\n-gameinfo pacman\n-gameinfo longerna\n-gameinfo x;:>pwn\n");
  EXPECT_FALSE(FileExists(emulators / "raine dir/pwn"));
  EXPECT_EQ(Names(), "longerna pacman x;:>pwn ");
  EXPECT_EQ(database[0].cloneOf, "pacman");
  EXPECT_EQ(ListFolder(data.path()).size(), 1u);  // the cache, no listing left
}

// That a list's problems reach the caller alone, and that the cache holds
// the list already repaired: the golden record list_faults.

// Switching the source back and forth, or to another file, always leaves
// the chosen source's list in memory, whether read anew or from the cache;
// a failed load must not leave another source claiming the emptied data.
TEST_F(AcquireTest, EachLoadBringsTheChosenSourcesList) {
  const std::string mame = MakeMame(emulators / "mame");
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
