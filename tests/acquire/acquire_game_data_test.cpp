#include "acquire/acquire_game_data.h"

#include <sys/stat.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "archive/zip_reader.h"
#include "gamedb/data_cache.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

constexpr char kListing[] =
    "game (\n name pacman\n description \"Pac-Man\"\n"
    " rom ( name pac.6e size 4096 crc c1e6ab10 )\n)\n"
    "game (\n name puckman\n description \"Puck Man\"\n cloneof pacman\n"
    " rom ( name pac.6e size 4096 crc c1e6ab10 )\n rom ( name puck.6f size 4096 crc 1a6fb2d4 )\n)\n";

// An emulator stand-in: notes each call in runs.log of its working folder.
std::string MakeEmulator(const std::string& path, const std::string& body) {
  WriteFile(path, "#!/bin/sh\necho \"$@\" >> runs.log\n" + body);
  ::chmod(path.c_str(), 0755);
  return path;
}

std::string MakeMame(const std::string& path) {
  return MakeEmulator(path, std::string("cat <<'END'\n") + kListing + "END\n");
}

std::vector<std::string> Names(const GameList& games) {
  std::vector<std::string> names;
  for (const GameSet& game : games) names.push_back(game.name);
  return names;
}

struct AcquireTest : ::testing::Test {
  ~AcquireTest() override { SetApplicationInterface(nullptr); }
  bool Acquire() { return AcquireGameData(settings, rawGames, database, &ui, data.path()); }
  // Only a parse, not a cache read, goes on to validation.
  long Parses() const {
    return std::count(ui.progressTexts.begin(), ui.progressTexts.end(), "Cleaning Up Data...");
  }

  TempFolder data;
  TempFolder emulators;
  SettingsRecord settings;
  GameList rawGames;
  GameList database;
  ScriptedInterface ui;
};

TEST_F(AcquireTest, MameRunsOnceThenTheCacheServesUntilTheExecutableChanges) {
  settings.dataSource = kSourceMameExe;
  settings.mameExe = MakeMame(emulators / "emu dir/mame");
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(Names(database), (std::vector<std::string>{"pacman", "puckman"}));
  EXPECT_EQ(ReadFile(emulators / "emu dir/runs.log"), "-listinfo\n");
  EXPECT_FALSE(FileExists(data / "kpfdata.dat"));
  EXPECT_TRUE(FileExists(data / "_exedat"));
  uint32_t size = 0, crc = 0;
  ASSERT_TRUE(ReadFileCrc(settings.mameExe, size, crc));
  EXPECT_EQ(settings.dataCrc, crc);
  EXPECT_EQ(settings.loadedMameExe, settings.mameExe);
  EXPECT_EQ(ui.progressTitles, std::vector<std::string>{"Receiving Data"});
  EXPECT_EQ(Parses(), 1);

  // Same path with valid data: nothing is read at all.
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ui.progressTitles.size(), 1u);

  // Loaded again, the cache stands in for the emulator until an updated
  // executable under the same path is run again.
  settings.dataFromMameExe = false;
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(Parses(), 1);
  WriteFile(settings.mameExe, ReadFile(settings.mameExe) + "# newer\n");
  settings.dataFromMameExe = false;
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "emu dir/runs.log"), "-listinfo\n-listinfo\n");
  EXPECT_NE(settings.dataCrc, crc);
}

TEST_F(AcquireTest, DatfileCacheIsReadAgainWhenDamaged) {
  settings.dataSource = kSourceDatfile;
  settings.datfile = data / "list.dat";
  const std::string orphan = "game ( name orphan description Orphan cloneof gone rom ( name o size 1 crc 1 ) )\n";
  WriteFile(settings.datfile, kListing + orphan);
  SetApplicationInterface(&ui);
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(ListFolder(data.path()).size(), 2u);  // no temporary listing left
  EXPECT_EQ(ui.messages.size(), 1u);              // the missing parent
  std::string cache = ReadFile(data / "_datdat");

  // Read back from the cache: the data were validated once, so no messages.
  settings.dataFromDatfile = false;
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(Parses(), 1);
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(database[0].name, "orphan");
  EXPECT_FALSE(database[0].hasParent);

  WriteFile(data / "_datdat", cache.substr(0, cache.size() - 3));
  settings.dataFromDatfile = false;
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(Parses(), 2);
  EXPECT_EQ(ReadFile(data / "_datdat"), cache);

  WriteDataCache(data / "_datdat", {}, settings.dataCrc);  // right key, no sets
  settings.dataFromDatfile = false;
  ASSERT_TRUE(Acquire());
  EXPECT_EQ(database.size(), 3u);
}

constexpr char kXmlListing[] =
    "<?xml version=\"1.0\"?>\n<mame build=\"0.251\">\n"
    "<machine name=\"pacman\"><description>Pac-Man</description>"
    "<rom name=\"pac.6e\" size=\"4096\" crc=\"c1e6ab10\"/></machine>\n"
    "<machine name=\"puckman\" cloneof=\"pacman\" romof=\"pacman\"><description>Puck Man</description>"
    "<rom name=\"pac.6e\" merge=\"pac.6e\" size=\"4096\" crc=\"c1e6ab10\"/>"
    "<rom name=\"puck.6f\" size=\"4096\" crc=\"1a6fb2d4\"/><disk name=\"hd\"/></machine>\n</mame>\n";

// Today's MAME rejects -listinfo and lists its machines only as XML.
TEST_F(AcquireTest, MameWithoutListInfoIsAskedForTheXmlList) {
  settings.dataSource = kSourceMameExe;
  settings.mameExe = MakeEmulator(emulators / "mame",
                                  std::string("if [ \"$1\" = -listinfo ]; then echo 'Error: unknown option: -listinfo' >&2; "
                                              "exit 1; fi\necho 'listing machines' >&2\ncat <<'END'\n") +
                                      kXmlListing + "END\n");
  // The refusal of -listinfo does not reach the user; what -listxml says does.
  ::testing::internal::CaptureStderr();
  bool acquired = Acquire();
  std::string errors = ::testing::internal::GetCapturedStderr();
  ASSERT_TRUE(acquired);
  EXPECT_EQ(errors.find("unknown option"), std::string::npos) << errors;
  EXPECT_NE(errors.find("listing machines"), std::string::npos) << errors;
  EXPECT_EQ(ReadFile(emulators / "runs.log"), "-listinfo\n-listxml\n");
  EXPECT_EQ(Names(database), (std::vector<std::string>{"pacman", "puckman"}));
  EXPECT_EQ(database[1].parentIndex, 0);
  EXPECT_FALSE(database[1].roms[1].inParent);

  // One that fails both ways leaves no data and no listing.
  settings.mameExe = MakeEmulator(emulators / "broken/mame", "echo '<mame><machine name=\"x\">'\n");
  EXPECT_FALSE(Acquire());
  EXPECT_EQ(ReadFile(emulators / "broken/runs.log"), "-listinfo\n-listxml\n");
  EXPECT_TRUE(database.empty());
  EXPECT_FALSE(FileExists(data / "kpfdata.dat"));
}

TEST_F(AcquireTest, RaineAsksForEveryListedGameWithoutAShell) {
  settings.dataSource = kSourceRaineExe;
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
  EXPECT_EQ(Names(database), (std::vector<std::string>{"longerna", "pacman", "x;:>pwn"}));
  EXPECT_EQ(database[0].cloneOf, "pacman");
  EXPECT_FALSE(FileExists(data / "_rgames.tmp"));
  EXPECT_FALSE(FileExists(data / "rainlist.dat"));
  EXPECT_TRUE(FileExists(data / "_raindat"));
}

TEST_F(AcquireTest, FailuresEmptyTheDataAndForgetThePath) {
  // An emulator that cannot be started.
  settings.dataSource = kSourceMameExe;
  settings.mameExe = emulators / "mame";
  WriteFile(settings.mameExe, "not a program");
  database.resize(2);
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(database.empty());
  EXPECT_EQ(settings.mameExe, "");
  EXPECT_FALSE(FileExists(data / "kpfdata.dat"));

  // A user cancel during the parse.
  settings.mameExe = MakeMame(emulators / "mame3");
  ui.cancelAtCheck = ui.cancelChecks + 1;
  EXPECT_FALSE(Acquire());
  EXPECT_TRUE(rawGames.empty());
  EXPECT_EQ(ui.openProgressDialogs, 0);
}

// Switching the source back and forth, or to another file, always leaves
// the chosen source's list in memory, whether read anew or from the cache;
// a failed load must not leave another source claiming the emptied data.
TEST_F(AcquireTest, EachLoadBringsTheChosenSourcesList) {
  const std::string mame = MakeMame(emulators / "mame");
  WriteFile(emulators / "one.dat", "game ( name galaga description G rom ( name g size 16 crc 12345678 ) )\n");
  WriteFile(emulators / "two.dat", "game ( name digdug description D rom ( name d size 16 crc 12345678 ) )\n");
  auto load = [&](int source, const std::string& path) {
    settings.dataSource = source;
    (source == kSourceMameExe ? settings.mameExe : settings.datfile) = path;
    EXPECT_EQ(Acquire(), FileExists(path)) << path;
    std::vector<std::string> names = Names(database);
    return names.empty() ? std::string() : names[0];
  };
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(load(kSourceMameExe, mame), "pacman");
    EXPECT_EQ(load(kSourceDatfile, emulators / "one.dat"), "galaga");
    EXPECT_EQ(load(kSourceMameExe, mame), "pacman");
    EXPECT_EQ(load(kSourceDatfile, emulators / "missing.dat"), "");
    EXPECT_EQ(load(kSourceMameExe, mame), "pacman");
    EXPECT_EQ(load(kSourceDatfile, emulators / "two.dat"), "digdug");
    EXPECT_EQ(load(kSourceDatfile, emulators / "one.dat"), "galaga");
  }
}

}  // namespace
}  // namespace kestrel
