// Switching the data source back and forth, or pointing it at another file,
// must always leave the chosen source's list in memory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "acquire/acquire_game_data.h"
#include "app/scripted_interface.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

std::string Listing(const std::string& game) {
  return "game (\n name " + game + "\n description \"" + game + "\"\n rom ( name " + game +
         ".1 size 16 crc 12345678 )\n)\n";
}

std::string GameNames(const GameList& games) {
  std::string names;
  for (const GameSet& game : games) names += (names.empty() ? "" : " ") + game.name;
  return names;
}

TEST(SourceSwitchTest, EachLoadBringsTheChosenSourcesList) {
  TempFolder data, files;
  const std::string mame = files / "mame";
  WriteFile(mame, "#!/bin/sh\ncat <<'END'\n" + Listing("pacman") + "END\n");
  ASSERT_EQ(::chmod(mame.c_str(), 0755), 0);
  WriteFile(files / "one.dat", Listing("galaga"));
  WriteFile(files / "two.dat", Listing("digdug"));

  SettingsRecord settings;
  GameList rawGames, database;
  ScriptedInterface ui;
  auto load = [&](int source, const std::string& path) {
    settings.dataSource = source;
    (source == kSourceMameExe ? settings.mameExe : settings.datfile) = path;
    EXPECT_TRUE(AcquireGameData(settings, rawGames, database, &ui, data.path())) << path;
    return GameNames(database);
  };
  // Each step twice: once read from the source or the cache, once as loaded.
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(load(kSourceMameExe, mame), "pacman");
    EXPECT_EQ(load(kSourceDatfile, files / "one.dat"), "galaga");
    EXPECT_EQ(load(kSourceMameExe, mame), "pacman");
    EXPECT_EQ(load(kSourceDatfile, files / "two.dat"), "digdug");
    EXPECT_EQ(load(kSourceDatfile, files / "one.dat"), "galaga");
  }
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace kestrel
