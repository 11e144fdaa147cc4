// Renaming ROMs, for a wrong name or a wrong case, never makes two files of
// one name, takes a name in use, nor puts a file outside its set.

#include "scanner/scan_fixture.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b');

class RenameClashTest : public RepairFixture {};

TEST_F(RenameClashTest, OnlyTheFirstCopyTakesANameAndNoneLeavesTheSet) {
  settings.fixName = settings.fixCase = settings.checkCase = true;
  settings.checkUnneeded = false;
  AddGame("alpha", {{"a.rom", kA}, {"../b.rom", kB}});
  AddGame("beta", {{"a.rom", kA}});
  AddGame("gamma", {{"a.rom", kA}});
  AddGame("delta", {{"a.rom", kA}});
  Link();
  WriteZipSet(romPath, "alpha", {{"p.bin", kA}, {"q.bin", kA}, {"r.bin", kB}});
  WriteFolderSet(romPath, "beta", {{"p.bin", kA}, {"q.bin", kA}});
  // Files of the user's under the names the renames pass through.
  WriteFolderSet(romPath, "gamma", {{"a.rom_kpw", "mine"}, {"p.bin", kA}});
  WriteFolderSet(romPath, "delta", {{"A.ROM", kA}, {"A.ROM_tmp", "mine"}});
  Scan();
  EXPECT_EQ(ZipMembers(romPath + "alpha.zip"), (Members{{"a.rom", kA}, {"q.bin", kA}, {"r.bin", kB}}));
  EXPECT_EQ(FileNames(romPath + "beta"), (Names{"a.rom", "q.bin"}));
  EXPECT_EQ(ReadFile(romPath + "gamma/a.rom_kpw"), "mine");
  EXPECT_EQ(FileNames(romPath + "gamma"), (Names{"a.rom_kpw", "p.bin"}));
  EXPECT_EQ(FileNames(romPath + "delta"), (Names{"A.ROM", "A.ROM_tmp"}));
  const std::string gamma = romPath + "gamma/", delta = romPath + "delta/";
  EXPECT_EQ(ui.MessageTexts(), (Names{"'" + delta + "A.ROM' was not fixed:\n'" + delta + "A.ROM_tmp' is in the way !",
                                      "'" + gamma + "p.bin' was not fixed:\n'" + gamma + "a.rom_kpw' is in the way !"}));
  EXPECT_EQ(FileNames(romPath), (Names{"alpha.zip", "beta", "delta", "gamma"}));
}

}  // namespace
}  // namespace kestrel::testing
