#include "settings/software_lists.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

std::string ListFields(const SettingsRecord& s) {
  return s.romPaths[0].path + " | " + s.romPaths[1].path + " | " + s.rebuildDestination + " | " +
         s.mergeDestination + " | " + s.fastscanFile + " | " + s.scannerLogfile + " | " + s.rebuildLogfile;
}

// A run over one list works in the list's folder of every ROM path and of
// both destinations (made only where the destination exists) and writes
// files of the list's own; coming back out takes back exactly those, and
// keeps what the run changed besides. Without a list, both leave all be.
TEST(SoftwareLists, RunInAListsFolderAndComeBackOut) {
  testing::TempFolder folder;
  SettingsRecord settings;
  settings.romPaths = {{folder / "roms/", true, -1, 0}, {"", true, -1, 1}};
  settings.rebuildDestination = folder.path();
  settings.mergeDestination = folder / "gone/";
  settings.fastscanFile = "fastscan.fsc";
  settings.scannerLogfile = "";
  settings.rebuildLogfile = "/logs/rebuild";

  SettingsRecord run = InSoftwareList(settings, "nes");
  EXPECT_EQ(ListFields(run), folder / "roms/nes/ |  | " + folder / "nes/ | " + folder /
                                 "gone/nes/ | fastscan.nes.fsc |  | /logs/rebuild.nes");
  EXPECT_TRUE(FolderExists(folder / "nes/"));
  EXPECT_FALSE(FolderExists(folder / "roms/nes/"));
  EXPECT_FALSE(FolderExists(folder / "gone/"));

  run.fixName = !settings.fixName;  // as a fastscan file brings options back
  const SettingsRecord back = OutOfSoftwareList(run, settings, "nes");
  EXPECT_EQ(ListFields(back), ListFields(settings));
  EXPECT_NE(back.fixName, settings.fixName);

  EXPECT_EQ(ListFields(InSoftwareList(settings, "")), ListFields(settings));
  EXPECT_EQ(ListFields(OutOfSoftwareList(run, settings, "")), ListFields(run));
}

}  // namespace
}  // namespace kestrel
