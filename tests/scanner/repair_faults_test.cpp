// Repairs meeting faults: read-only files and folders, a file that goes
// away between the scan and its repair, a zip update that fails and a full
// disk. Each leaves every file of the collection as it was.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <map>

#include "platform/file_system.h"
#include "scanner/repair_fixture.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b');

// Lets no file grow beyond `bytes` while it lives, as a full disk would;
// writes past it fail instead of raising a signal.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }

 private:
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

// Deletes files when the question of a number (from 1) is asked, then
// answers as scripted.
class VanishingInterface : public ScriptedInterface {
 public:
  std::map<size_t, std::vector<std::string>> deleteAtQuestion;
  int Ask(const std::string& title, const std::string& message) override {
    for (const std::string& path : deleteAtQuestion[questions.size() + 1]) std::filesystem::remove_all(path);
    return ScriptedInterface::Ask(title, message);
  }
};

class RepairFaultsTest : public RepairFixture {
 protected:
  void FixEverything() {
    settings.checkCase = settings.fixCase = settings.fixName = settings.fixLength = true;
    settings.fixUnneeded = settings.fixMissing = true;
  }
  size_t FailureMessages() const {
    size_t count = 0;
    for (const RecordedMessage& message : ui.messages) count += message.title == "Fix Failed";
    return count;
  }
};

TEST_F(RepairFaultsTest, ReadOnlyFilesAndFoldersAreLeftAsTheyAre) {
  FixEverything();
  std::string lockedPath = root / "locked/";
  std::filesystem::create_directories(lockedPath);
  settings.romPaths.push_back({lockedPath});
  const std::string rom = PseudoRandom(4096, 1);
  AddGame("alpha", {{"big.rom", rom}});
  AddGame("beta", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("gamma", {{"a.rom", kA}, {"b.rom", kB}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", "xx" + rom}});
  WriteFolderSet(romPath, "beta", {{"A.rom", kA}, {"x.rom", kB}, {"junk.txt", "junk"}});
  WriteZipSet(lockedPath, "gamma", {{"a.rom", kA}, {"B.ROM", kB}, {"junk.txt", "junk"}});
  ::chmod((romPath + "alpha/big.rom").c_str(), 0444);
  ::chmod((romPath + "beta").c_str(), 0555);
  ::chmod(lockedPath.c_str(), 0555);
  auto before = Snapshot();

  Scan();

  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(HasLine("wrong length: big.rom [wrong: 4098] [right: 4096] [not fixed]"));
  EXPECT_TRUE(HasLine("wrong spelling: a.rom [wrong: A.rom] [right: a.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("wrong name: " + romPath + "beta/x.rom [wrong: x.rom] [right: b.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "beta/junk.txt [not fixed]"));
  EXPECT_TRUE(HasLine("wrong spelling: b.rom [wrong: B.ROM] [right: b.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + lockedPath + "gamma/junk.txt [not fixed]"));
  EXPECT_GE(FailureMessages(), 6u);

}

TEST_F(RepairFaultsTest, AFileThatVanishesBeforeItsRepairEndsOnlyThatRepair) {
  FixEverything();
  settings.askBeforeFixing = true;
  VanishingInterface vanishing;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"A.rom", kA}, {"B.rom", kB}, {"junk.txt", "junk"}, {"old/x", "x"}});
  auto before = Collection();
  before.erase(romPath + "alpha/A.rom");
  before.erase(romPath + "alpha/junk.txt");
  before.erase(romPath + "alpha/old");
  before.erase(romPath + "alpha/old/x");
  // The case questions of A.rom and B.rom, then the removals.
  vanishing.deleteAtQuestion[1] = {romPath + "alpha/A.rom"};
  vanishing.deleteAtQuestion[3] = {romPath + "alpha/junk.txt", romPath + "alpha/old"};

  ScanRequest request;
  request.dataFolder = root / "program/";
  request.zipLibrary = &zipLibrary;
  RunScan(database, settings, &vanishing, results, request);

  auto after = Collection();
  after.erase(romPath + "alpha/b.rom");
  before.erase(romPath + "alpha/B.rom");
  EXPECT_EQ(after, before);
  EXPECT_EQ(ReadFile(romPath + "alpha/b.rom"), kB) << "the next repair still runs";
  EXPECT_TRUE(HasLine("wrong spelling: a.rom [wrong: A.rom] [right: a.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "alpha/junk.txt [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded folder: " + romPath + "alpha/old [not fixed]"));
  ASSERT_EQ(vanishing.questions.size(), 4u);
  EXPECT_FALSE(PathExists(settings.backupFolder + "alpha.zip"));
}

TEST_F(RepairFaultsTest, AFullDiskOrAFailedZipUpdateChangesNothing) {
  FixEverything();
  const std::string big = PseudoRandom(200000, 5), rom = PseudoRandom(100000, 6);
  AddGame("alpha", {{"a.rom", big}, {"b.rom", kB}});
  AddGame("beta", {{"r.rom", rom}});
  AddGame("gamma", {{"g.rom", big}});
  Link();
  WriteZipSet(romPath, "alpha", {{"a.rom", big}, {"B.ROM", kB}, {"junk.txt", "junk"}});
  // Its backup would not fit on the disk, so it must stay.
  WriteFolderSet(romPath, "beta", {{"r.rom", "yy" + rom}, {"big.bin", rom}});
  std::string addPath = root / "add/";
  settings.addPaths = {{addPath}};
  WriteFolderSet(addPath, "gamma", {{"g", big}});
  auto before = Collection();
  {
    FileSizeLimit limit(65536);
    Scan();
  }
  EXPECT_EQ(Collection(), before);
  EXPECT_TRUE(HasLine("wrong spelling: b.rom [wrong: B.ROM] [right: b.rom] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "alpha/junk.txt [not fixed]"));
  EXPECT_TRUE(HasLine("wrong length: r.rom [wrong: 100002] [right: 100000] [not fixed]"));
  EXPECT_TRUE(HasLine("unneeded file: " + romPath + "beta/big.bin [not fixed]"));
  EXPECT_FALSE(Rom("gamma", "g.rom").romScan.found);
  EXPECT_GE(FailureMessages(), 4u);
  EXPECT_EQ(FileNames(settings.tempFolder), Names{});

  // With room on the disk the same scan repairs it all.
  Scan();
  EXPECT_EQ(ZipMembers(romPath + "alpha.zip"), (Members{{"a.rom", big}, {"b.rom", kB}}));
  EXPECT_EQ(ReadFile(romPath + "beta/r.rom"), rom);
  EXPECT_EQ(ZipMembers(settings.backupFolder + "beta.zip"), (Members{{"big.bin", rom}}));
  EXPECT_EQ(ZipMembers(romPath + "gamma.zip"), (Members{{"g.rom", big}}));
}

}  // namespace
}  // namespace kestrel::testing
