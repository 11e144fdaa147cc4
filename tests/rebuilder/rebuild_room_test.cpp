// A zip write that failed is told as a full disk only when the disk lacks
// room for the new zip: the old one plus what it adds, a copied member at
// its compressed size.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/zip_reader.h"
#include "rebuilder/rebuild_fixture.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

TEST_F(RebuildTest, AFailedZipWriteIsAFullDiskOnlyWhenTheNewZipCannotFit) {
  const std::string rom(3000, 'r');  // deflates to a few bytes
  AddGame("g", {{"old", "the old member"}, {"r1", rom}});
  Load();
  const std::string kFull = "Disk Is Full !\n\nRebuilding Process Stopped.";
  const std::string kAsk = "Error While Zipping !\n\nDo You Want To Stop Rebuilding Process ?";
  for (bool member : {false, true}) {
    ClearDestination();
    WriteZip(destination + "g.zip", {{"old", "the old member"}});
    std::filesystem::remove_all(source);
    uint64_t added = rom.size();
    if (member) {
      WriteZip(source + "s.zip", {{"x", rom}});
      ZipEntryList entries;
      ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), source + "s.zip", entries, true, nullptr));
      added = entries.at(0).compressedSize;
    } else {
      WriteFile(source + "x", rom);
    }
    uint64_t needed = std::filesystem::file_size(destination + "g.zip") + added;
    for (uint64_t room : {needed, needed - 1}) {
      SCOPED_TRACE((member ? "member, room " : "loose file, room ") + std::to_string(room));
      FaultyFileSystem disk;
      disk.Fail({FileOperation::kWrite, destination + "*"});
      disk.ReportDiskSpace({1 << 30, room});
      ui.messages.clear();
      ui.messageAnswers = {kResultNo};
      RebuildOutcome outcome = Rebuild(disk);
      EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{room < needed ? kFull : kAsk});
      EXPECT_EQ(outcome.completed, room == needed);
      EXPECT_EQ(Tree(destination), (Files{{"g.zip:old", "the old member"}}));
    }
  }
}

}  // namespace
}  // namespace kestrel::testing
