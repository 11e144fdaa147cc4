#include "report/path_warnings.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

class PathWarningsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database.resize(2);
    database[0].name = "GameX";
    database[0].roms.resize(1);
    database[1].name = "sndgame";
    database[1].samples.resize(1);
    WriteFile(temp / "roms/gamex.zip", "zip");
    WriteFile(temp / "empty/sndgame.zip", "a sample set is no ROM set");
    WriteFile(temp / "samples/sndgame/boom.wav", "wav");
    settings.romPaths = {{temp / "roms/"}};
    settings.samplePaths = {{temp / "samples/"}};
  }
  TempFolder temp;
  GameList database;
  SettingsRecord settings;
  ScriptedInterface ui;
};

TEST_F(PathWarningsTest, PathsWithKnownSetsPass) {
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PathWarningsTest, EmptyPathsAskAndTheLastAnswerCounts) {
  settings.romPaths.push_back({temp / "empty/"});
  settings.romPaths.push_back({temp / "nowhere/", false});  // disabled: never looked at
  ui.messageAnswers = {kResultOk};
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "No roms found in rompath:\n\n" + temp / "empty/");
  EXPECT_EQ(ui.messages[0].title, "Path Warning");
  EXPECT_EQ(ui.messages[0].buttons, MessageButtons::kOkCancel);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::kExclamation);

  ui.messageAnswers = {kResultCancel};
  EXPECT_FALSE(CheckPathWarnings(settings, database, &ui));

  settings.samplePaths.push_back({temp / "roms/"});
  ui.messageAnswers = {kResultCancel, kResultOk};
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_EQ(ui.messages.back().text, "No samples found in samplepath:\n\n" + temp / "roms/");

  settings.pathWarnings = false;
  const size_t shown = ui.messages.size();
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_EQ(ui.messages.size(), shown);
}

}  // namespace
}  // namespace kestrel
