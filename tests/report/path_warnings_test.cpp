#include "report/path_warnings.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::WriteFile;

TEST(PathWarningsTest, EmptyPathsAskAndTheLastAnswerCounts) {
  testing::TempFolder temp;
  GameList database(2);
  database[0].name = "GameX";
  database[0].roms.resize(1);
  database[1].name = "sndgame";
  database[1].samples.resize(1);
  WriteFile(temp / "roms/gamex.zip", "zip");
  WriteFile(temp / "empty/sndgame.zip", "a sample set is no ROM set");
  WriteFile(temp / "samples/sndgame/boom.wav", "wav");
  SettingsRecord settings;
  settings.romPaths = {{temp / "roms/"}, {temp / "nowhere/", false}};
  settings.samplePaths = {{temp / "samples/"}};
  ScriptedInterface ui;
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_TRUE(ui.messages.empty());

  settings.romPaths.push_back({temp / "empty/"});
  ui.messageAnswers = {kResultOk, kResultCancel};
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_FALSE(CheckPathWarnings(settings, database, &ui));
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[0].text, "No roms found in rompath:\n\n" + temp / "empty/");
  EXPECT_EQ(ui.messages[0].title, "Path Warning");

  // Every path is checked; a later OK overrules an earlier Cancel.
  settings.samplePaths.push_back({temp / "roms/"});
  ui.messageAnswers = {kResultCancel, kResultOk};
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_EQ(ui.messages.back().text, "No samples found in samplepath:\n\n" + temp / "roms/");

  settings.pathWarnings = false;
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_EQ(ui.messages.size(), 4u);
}

}  // namespace
}  // namespace kestrel
