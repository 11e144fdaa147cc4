// What only a failing disk shows: a disk that fills up, a write that fails,
// a source that changes, vanishes or cannot be read during the run. Every
// rebuild seen from the command line is a scenario in scenarios/.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "rebuilder/rebuild_fixture.h"
#include "support/faulty_file_system.h"
#include "support/stored_zip.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

// Contents of one length, so that a file of the wrong one passes a size check.
const std::string kA = "contents of a", kB = "contents of b", kOther = "contents of X";
const std::string kFull = "Disk Is Full !\n\nRebuilding Process Stopped.";
const std::string kAsk = "Error While Zipping !\n\nDo You Want To Stop Rebuilding Process ?";

using Texts = std::vector<std::string>;

// The outcome's failures as "path: reason", in their order.
Texts Failures(const RebuildOutcome& outcome) {
  Texts texts;
  for (const RebuildFailure& failure : outcome.failures) texts.push_back(failure.path + ": " + failure.reason);
  return texts;
}

// A disk that fills up under the new sets: nothing is half-written, the
// old set and the sources stay, and the set not written is named.
TEST_F(RebuildTest, StopsCleanlyOnAFullDiskAndKeepsTheOldSetAndTheSources) {
  std::string big(400 << 10, '\0');  // bytes deflate cannot shrink
  std::mt19937 random(1);
  for (char& byte : big) byte = static_cast<char>(random());
  AddGame("g", {{"big", big}, {"old", kB}, {"small", kA}});
  Load();
  settings.rebuildRemoveSources = true;
  for (bool zip : {false, true}) {
    for (uint64_t room : {0, 256 << 10}) {
      SCOPED_TRACE((zip ? "zip, room " : "folder, room ") + std::to_string(room));
      settings.rebuildZip = zip;
      ClearDestination();
      WriteFile(source + "1big", big);
      WriteFile(source + "2small", kA);
      if (zip) {
        WriteZip(destination + "g.zip", {{"old", kB}});
      } else {
        WriteFile(destination + "g/old", kB);
      }
      Files before = Tree(destination);
      FaultyFileSystem smallDisk;
      smallDisk.FillDiskAfter(room, destination + "*");
      if (room > 0) smallDisk.ReportDiskSpace({room, room});
      RebuildOutcome outcome = Rebuild(smallDisk);
      EXPECT_FALSE(outcome.completed);
      EXPECT_EQ(Tree(destination), before);
      EXPECT_EQ(Tree(source), (Files{{"1big", big}, {"2small", kA}}));
      bool named = false;
      for (const RebuildFailure& failure : outcome.failures)
        named |= failure.path == destination + (zip ? "g.zip" : "g/big") && failure.reason == "could not be written";
      if (room == 0) {
        EXPECT_TRUE(named);
      } else {
        EXPECT_EQ(ui.MessageTexts(), Texts{kFull});
      }
      ui.messages.clear();
    }
  }
}

// A zip write that failed is told as a full disk only when the disk lacks
// room for the new zip: the old one plus what it adds, a copied member at
// its compressed size.
TEST_F(RebuildTest, AFailedZipWriteIsAFullDiskOnlyWhenTheNewZipCannotFit) {
  const std::string rom(3000, 'r');  // deflates to a few bytes
  AddGame("g", {{"old", "the old member"}, {"r1", rom}});
  Load();
  for (bool member : {false, true}) {
    ClearDestination();
    WriteZip(destination + "g.zip", {{"old", "the old member"}});
    fs::remove_all(source);
    uint64_t added = rom.size();
    if (member) {
      WriteZip(source + "s.zip", {{"x", rom}});
      ZipEntryList entries;
      ASSERT_TRUE(ReadZipDirectory(RealFileSystem(), source + "s.zip", entries, true, nullptr));
      added = entries.at(0).compressedSize;
    } else {
      WriteFile(source + "x", rom);
    }
    uint64_t needed = fs::file_size(destination + "g.zip") + added;
    for (uint64_t room : {needed, needed - 1}) {
      SCOPED_TRACE((member ? "member, room " : "loose file, room ") + std::to_string(room));
      FaultyFileSystem disk;
      disk.Fail({FileOperation::kWrite, destination + "*"});
      disk.ReportDiskSpace({1 << 30, room});
      ui.messages.clear();
      ui.messageAnswers = {kResultNo};
      RebuildOutcome outcome = Rebuild(disk);
      EXPECT_EQ(ui.MessageTexts(), Texts{room < needed ? kFull : kAsk});
      EXPECT_EQ(outcome.completed, room == needed);
      EXPECT_EQ(Tree(destination), (Files{{"g.zip:old", "the old member"}}));
    }
  }
}

// A disk on which the user rewrites `path` once the rebuild has placed
// `placed`: a source changed while the rebuild finishes.
struct ChangingDisk : FaultyFileSystem {
  std::string path, placed, contents;
  std::unique_ptr<ReadableFile> OpenForReading(std::string_view file) override {
    if (file == path && !contents.empty() && FaultyFileSystem::FileExists(placed))
      WriteFile(path, std::exchange(contents, ""));
    return FaultyFileSystem::OpenForReading(file);
  }
};

// A source is removed only while it still holds what was placed: one
// changed during the run, a loose file or a zip member of the same sizes,
// stays with its new contents.
TEST_F(RebuildTest, ASourceChangedDuringTheRunIsNotRemoved) {
  AddGame("g", {{"r1", kA}, {"r2", kB}});
  Load();
  settings.rebuildRemoveSources = true;
  settings.rebuildZip = false;
  for (bool zip : {false, true}) {
    SCOPED_TRACE(zip ? "zip member" : "loose file");
    ClearDestination();
    const std::string changed = source + (zip ? "a.zip" : "a");
    if (zip) {
      WriteFile(changed, StoredZip({{"m", kA}, {"n", "no rom"}}));
    } else {
      WriteFile(changed, kA);
    }
    WriteFile(source + "b", kB);
    ChangingDisk disk;
    disk.path = changed;
    disk.placed = destination + "g/r2";
    disk.contents = zip ? StoredZip({{"m", kOther}, {"n", "no rom"}}) : kOther;
    RebuildOutcome outcome = Rebuild(disk);
    EXPECT_EQ(Failures(outcome),
              Texts{changed + (zip ? "/m" : "") + ": changed or became unreadable during the run; it was kept"});
    EXPECT_EQ(Tree(destination), (Files{{"g/r1", kA}, {"g/r2", kB}}));
    EXPECT_EQ(ReadFile(changed), zip ? StoredZip({{"m", kOther}, {"n", "no rom"}}) : kOther);
    EXPECT_FALSE(FileExists(source + "b"));
  }
}

// A source that cannot be read (a pipe), or that vanishes between the
// listing and the reading, is named and stays.
TEST_F(RebuildTest, ASourceThatCannotBeReadIsNamedAndStays) {
  AddGame("g", {{"r1", kA}});
  Load();
  ASSERT_EQ(mkfifo((source + "e.bin").c_str(), 0644), 0);
  WriteFile(source + "f/gone", kA);
  settings.rebuildRemoveSources = true;
  FaultyFileSystem disk;
  disk.Vanish("*/source/f/gone");
  RebuildOutcome outcome = Rebuild(disk);
  EXPECT_TRUE(outcome.completed);
  EXPECT_TRUE(fs::exists(source + "e.bin"));
  EXPECT_EQ(Tree(source), (Files{{"f/gone", kA}}));
  EXPECT_NE(Log().find(source + "e.bin [SKIPPED]\n"), std::string::npos);
  EXPECT_EQ(Failures(outcome), (Texts{source + "e.bin: could not be read", source + "f/gone: could not be read"}));
}

}  // namespace
}  // namespace kestrel::testing
