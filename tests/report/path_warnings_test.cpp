// Before a scan, each enabled path that holds no set of a known game is
// named, and the last answer decides whether the scan goes on.
#include "report/path_warnings.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

TEST(PathWarningsTest, NamesEachEnabledPathWithoutAKnownSetOfItsKind) {
  TempFolder dir;
  GameList database(2);
  database[0].name = "Quiet";  // ROMs only
  database[0].roms.resize(1);
  database[1].name = "loud";
  database[1].roms.resize(1);
  database[1].samples.resize(1);
  WriteFile(dir / "roms/QUIET.zip", "");
  WriteFile(dir / "samples/quiet/x.wav", "");  // a ROM set's name, no sample set
  WriteFile(dir / "more samples/LOUD.zip", "");
  WriteFile(dir / "off/x", "");
  SettingsRecord settings;
  settings.romPaths = {{dir / "roms/"}, {dir / "samples/"}, {dir / "off/", false}};
  settings.samplePaths = {{dir / "samples/"}, {dir / "more samples/"}};
  ScriptedInterface ui;
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{"No samples found in samplepath:\n\n" + dir / "samples/"}));

  ui.messageAnswers = {kResultCancel};
  EXPECT_FALSE(CheckPathWarnings(settings, database, &ui));
  settings.pathWarnings = false;
  EXPECT_TRUE(CheckPathWarnings(settings, database, &ui));
  EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
}  // namespace kestrel
