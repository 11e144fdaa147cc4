// Repairs that cannot be done tell which file and why, one message each,
// and leave the file as it was; stand-ins are never made for ROMs a damaged
// list gives an impossible size or a name with a folder part.
#include "scanner/scan_fixture.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a');

class RepairRefusalsTest : public RepairFixture {
 protected:
  Names Messages() const {
    Names texts;
    for (const RecordedMessage& m : ui.messages) texts.push_back(m.title + ": " + m.text);
    return texts;
  }
  std::string NotFixed(const std::string& path, const std::string& reason) const {
    return "Fix Failed: '" + path + "' was not fixed:\n" + reason;
  }
};

TEST_F(RepairRefusalsTest, EachFailedResizeOrRemovalNamesItsFileAndReason) {
  settings.fixLength = settings.fixUnneeded = true;
  const std::string rom = PseudoRandom(4096, 3);
  AddGame("alpha", {{"big.rom", rom}});
  AddGame("beta", {{"big.rom", rom}});
  AddGame("gamma", {{"short.rom", rom}});
  AddGame("delta", {{"a.rom", kA}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"big.rom", "xx" + rom}});
  WriteZipSet(romPath, "beta", {{"big.rom", rom + "yy"}});
  WriteFolderSet(romPath, "gamma", {{"short.rom", rom.substr(0, 4000)}});
  WriteFolderSet(romPath, "delta", {{"a.rom", kA}, {"gone.txt", "gone"}, {"junk.txt", "junk"}});
  FaultyFileSystem faulty;
  faulty.Vanish("*gone.txt");
  faulty.Fail({FileOperation::kCreateFolder, settings.tempFolder + "*"});
  faulty.Fail({FileOperation::kDelete, "*junk.txt"});

  Scan(false, faulty);

  const std::string noWork = "No work folder in the temporary folder !";
  EXPECT_EQ(Messages(), (Names{NotFixed(romPath + "alpha/big.rom", noWork), NotFixed(romPath + "beta.zip", noWork),
                               NotFixed(romPath + "delta/gone.txt", "It no longer exists !"),
                               NotFixed(romPath + "delta/junk.txt", "It could not be deleted (completely) !")}));
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), "xx" + rom);
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"big.rom", rom + "yy"}}));
  EXPECT_EQ(FileNames(romPath + "delta"), (Names{"a.rom", "gone.txt", "junk.txt"}));
  EXPECT_EQ(ZipMembers(settings.backupFolder + "delta.zip"), (Members{{"junk.txt", "junk"}}));

  ui.messages.clear();
  Scan();
  EXPECT_EQ(Messages(), Names{}) << "a short file is not offered for cutting";
  EXPECT_EQ(ReadFile(romPath + "gamma/short.rom"), rom.substr(0, 4000));
  EXPECT_EQ(ReadFile(romPath + "alpha/big.rom"), rom);
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"big.rom", rom}}));
  EXPECT_EQ(FileNames(romPath + "delta"), Names{"a.rom"});
}

TEST_F(RepairRefusalsTest, StandInsAreMadeOnlyForPlainNamesOfPossibleSizes) {
  settings.zeroCrcCreation = true;
  const std::vector<TestRom> roms = {
      {"a.rom", kA}, {"ok.rom", "", true, 16}, {"neg.rom", "", true, -1}, {"../up.rom", "", true, 16},
      {"sub/in.rom", "", true, 16}};
  AddGame("alpha", roms);
  AddGame("beta", roms);
  AddGame("gamma", {{"ok.rom", "", true, 16}});  // no set of it anywhere
  Link();
  WriteFolderSet(romPath, "alpha", {{"a.rom", kA}});
  WriteZipSet(romPath, "beta", {{"a.rom", kA}});
  FaultyFileSystem roomy, noWorkFolder;
  roomy.ReportDiskSpace({uint64_t{100} << 30, uint64_t{60} << 30});
  noWorkFolder.ReportDiskSpace({uint64_t{100} << 30, uint64_t{60} << 30});
  noWorkFolder.Fail({FileOperation::kCreateFolder, settings.tempFolder + "*"});
  const auto before = Snapshot();
  // Where a file given no folder would land.
  const std::filesystem::path startFolder = std::filesystem::current_path();
  std::filesystem::current_path(settings.tempFolder);
  Scan(false, noWorkFolder);
  EXPECT_EQ(Snapshot(), before);

  Scan(false, roomy);
  std::filesystem::current_path(startFolder);

  const std::string zeros(16, '\0');
  EXPECT_EQ(FolderMembers(romPath.substr(0, romPath.size() - 1)),
            (Members{{"alpha/a.rom", kA}, {"alpha/ok.rom", zeros}, {"beta.zip", ReadFile(romPath + "beta.zip")}}));
  EXPECT_EQ(ZipMembers(romPath + "beta.zip"), (Members{{"a.rom", kA}, {"ok.rom", zeros}}));
  EXPECT_EQ(Messages(), Names{});
  EXPECT_EQ(FileNames(settings.tempFolder), Names{});
}

}  // namespace
}  // namespace kestrel::testing
