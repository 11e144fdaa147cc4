#include "archive/zip_problem.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"

namespace kestrel {
namespace {

std::string Corrupt(const std::string& path, const std::string& reason) {
  return "Corrupt Zipfile:\n\n" + path + "\n\nPlease rezip this file with a common zip-program.\n\nReason: " + reason;
}

// Every fault has its own text; a damaged local header also says the format
// is not understood. Each zip is told of once, whatever else goes wrong with
// it later in the run; a fresh run tells again.
TEST(ZipProblemNoticesTest, TellsEachDamagedZipOncePerRun) {
  ScriptedInterface ui;
  ZipProblemNotices run;
  run.Tell(&ui, {ZipFault::kNone, "/fine.zip"});
  run.Tell(&ui, {ZipFault::kBadLocalEntry, "/a.zip"});
  run.Tell(&ui, {ZipFault::kBadLocalEntry, "/a.zip"});
  run.Tell(&ui, {ZipFault::kUnsupportedMethod, "/a.zip"});
  run.Tell(&ui, {ZipFault::kBadCentralEntry, "/b.zip"});
  run.Tell(&ui, {ZipFault::kBadEndRecord, "/c.zip"});
  run.Tell(&ui, {ZipFault::kNoEntries, "/d.zip"});
  run.Tell(&ui, {ZipFault::kUnsupportedMethod, "/e.zip"});
  run.Tell(&ui, {ZipFault::kBadCentralEntry, "/b.zip"});
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{
                                   "Unsupported Zipformat In File:\n\n/a.zip",
                                   Corrupt("/a.zip", "BAD LOCAL FILE ENTRY"),
                                   Corrupt("/b.zip", "BAD CENTRAL DIR ENTRY"),
                                   Corrupt("/c.zip", "BAD END-OF-CENTRAL-DIR ENTRY"),
                                   Corrupt("/d.zip", "NO ENTRIES"),
                                   "Unsupported Compressionmethod In File:\n\n/e.zip",
                               }));
  for (const RecordedMessage& message : ui.messages) {
    EXPECT_EQ(message.title, "Kestrel");
    EXPECT_EQ(message.icon, MessageIcon::kExclamation);
  }

  ZipProblemNotices nextRun;
  nextRun.Tell(&ui, {ZipFault::kNoEntries, "/d.zip"});
  nextRun.Tell(nullptr, {ZipFault::kNoEntries, "/f.zip"});
  EXPECT_EQ(ui.messages.size(), 7u);
}

}  // namespace
}  // namespace kestrel
