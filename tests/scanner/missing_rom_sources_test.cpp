// A missing ROM is filled in only from a file holding its contents, and a
// copy that fails leaves no set folder behind.
#include "scanner/scan_fixture.h"
#include "support/faulty_file_system.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kG(64, 'g');

class MissingRomSourcesTest : public RepairFixture {};

TEST_F(MissingRomSourcesTest, OnlyACopyOfTheContentsIsTakenAndAFailedCopyLeavesNoFolder) {
  settings.fixMissing = settings.fixMissingAdvanced = true;
  AddGame("alpha", {{"a.rom", kA}, {"b.rom", kB}});
  AddGame("gamma", {{"g.rom", kG}, {"b.rom", kB}});
  Link();
  WriteFolderSet(romPath, "alpha", {{"b.rom", kB}});
  // Kept as a folder in another ROM path, so the ROM goes to a folder set
  // made in the first.
  const std::string addPath = root / "add/", morePath = root / "more/";
  settings.romPaths.push_back({morePath});
  WriteFolderSet(morePath, "gamma", {{"b.rom", kB}});
  settings.addPaths = {{addPath}};
  // Files of the ROM's name and size, with other contents.
  WriteFolderSet(addPath, "alpha", {{"a.rom", std::string(64, 'x')}});
  WriteFile(addPath + "a.rom", std::string(64, 'y'));
  WriteFolderSet(addPath, "gamma", {{"g.rom", kG}});
  FaultyFileSystem faulty;
  faulty.Fail({FileOperation::kCreate, romPath + "gamma/*"});

  Scan(false, faulty);

  EXPECT_EQ(FileNames(romPath), Names{"alpha"});
  EXPECT_EQ(FolderMembers(romPath + "alpha"), (Members{{"b.rom", kB}}));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "'" + romPath + "gamma/g.rom' was not fixed:\nIt could not be written !");

  Scan();
  EXPECT_EQ(FolderMembers(romPath + "gamma"), (Members{{"g.rom", kG}}));
  EXPECT_EQ(FolderMembers(romPath + "alpha"), (Members{{"b.rom", kB}}));
}

// A ROM path on a disk that went away while the scan ran gets nothing.
TEST_F(MissingRomSourcesTest, NothingIsAddedToARomPathThatIsGone) {
  settings.fixMissing = true;
  AddGame("gamma", {{"g.rom", kG}});
  Link();
  settings.addPaths = {{root / "add/"}};
  WriteFolderSet(root / "add/", "gamma", {{"g.rom", kG}});
  FaultyFileSystem gone;
  gone.Vanish(romPath + "*");

  Scan(false, gone);

  EXPECT_EQ(FileNames(romPath), Names{});
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "'" + romPath + "' was not fixed:\nThe folder no longer exists !");
}

}  // namespace
}  // namespace kestrel::testing
