// A logfile the user made read-only is how they keep it: it is refused.

#include <filesystem>

#include <gtest/gtest.h>

#include "app/scripted_interface.h"
#include "report/results_model.h"
#include "report/scanner_log.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

TEST(RefusedReportFilesTest, AReadOnlyLogfileIsKept) {
  testing::TempFolder temp;
  const std::string path = temp / "kestrel.log";
  testing::WriteFile(path, "kept");
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  ResultsModel results;
  AddResultLine(results, "unneeded file: x", kTopLevel, kResultUnneeded, true, true);
  ScriptedInterface ui;
  EXPECT_FALSE(SaveScannerLog(path, results, false, "", &ui));
  EXPECT_EQ(testing::ReadFile(path), "kept");
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Error while saving logfile !"});
}

}  // namespace
}  // namespace kestrel
