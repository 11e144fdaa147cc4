#include "archive/zip_problem.h"

#include <gtest/gtest.h>

#include "app/scripted_interface.h"

namespace kestrel {
namespace {

// Every fault has its own text; a damaged local header also says the format
// is not understood. Each zip is told of once, whatever else goes wrong with
// it later in the run; a fresh run tells again.
TEST(ZipProblemNoticesTest, TellsEachDamagedZipOncePerRun) {
  ScriptedInterface ui;
  ZipProblemNotices run, nextRun;
  for (auto [fault, path] : {std::pair{ZipFault::kNone, "/fine.zip"},
                             {ZipFault::kBadLocalEntry, "/a.zip"},
                             {ZipFault::kBadLocalEntry, "/a.zip"},
                             {ZipFault::kUnsupportedMethod, "/a.zip"},
                             {ZipFault::kBadCentralEntry, "/b.zip"},
                             {ZipFault::kBadEndRecord, "/c.zip"},
                             {ZipFault::kBadEndRecord, "/d.zip"},
                             {ZipFault::kUnsupportedMethod, "/e.zip"},
                             {ZipFault::kBadCentralEntry, "/b.zip"}})
    run.Tell(&ui, {fault, path});
  nextRun.Tell(&ui, {ZipFault::kBadEndRecord, "/d.zip"});
  nextRun.Tell(nullptr, {ZipFault::kBadEndRecord, "/f.zip"});
  auto corrupt = [](const std::string& path, const std::string& reason) {
    return "Corrupt Zipfile:\n\n" + path + "\n\nPlease rezip this file with a common zip-program.\n\nReason: " + reason;
  };
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{
                                   "Unsupported Zipformat In File:\n\n/a.zip",
                                   corrupt("/a.zip", "BAD LOCAL FILE ENTRY"),
                                   corrupt("/b.zip", "BAD CENTRAL DIR ENTRY"),
                                   corrupt("/c.zip", "BAD END-OF-CENTRAL-DIR ENTRY"),
                                   corrupt("/d.zip", "BAD END-OF-CENTRAL-DIR ENTRY"),
                                   "Unsupported Compressionmethod In File:\n\n/e.zip",
                                   corrupt("/d.zip", "BAD END-OF-CENTRAL-DIR ENTRY"),
                               }));
  for (const RecordedMessage& message : ui.messages) {
    EXPECT_EQ(message.title + (message.icon == MessageIcon::kExclamation ? " !" : ""), "Kestrel !");
  }
}

}  // namespace
}  // namespace kestrel
