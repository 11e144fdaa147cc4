// Scans under the rules of MAME's own lists: samples named without their
// file's extension and shared sample sets, ROMs that MAME runs without,
// empty zips, and files that are there but cannot be read.

#include "scanner/scan_fixture.h"
#include "support/faulty_file_system.h"
#include "support/stored_zip.h"

namespace kestrel::testing {
namespace {

const std::string kA(64, 'a'), kB(64, 'b'), kC(64, 'c');

class EmulatorRulesTest : public ScanFixture {
 protected:
  EmulatorRulesTest() {
    settings.checkMissing = settings.checkCase = settings.checkUnneeded = true;
    settings.checkLength = settings.checkChecksum = settings.checkName = true;
    showStatistics = false;
  }
  GameSet& AddMameGame(const std::string& name, const std::vector<TestRom>& roms) {
    GameSet& game = AddGame(name, roms);
    game.rules = ListRules::kMame;
    return game;
  }
  // A zip written by the zip tool with extra options (encryption, method).
  void WriteZipWith(const std::string& set, const std::string& member, const std::string& data, Names options) {
    std::string staging = root / ("staging-" + set + "/");
    WriteFile(staging + member, data);
    options.insert(options.begin(), "-q");
    options.insert(options.end(), {romPath + set + ".zip", member});
    ASSERT_TRUE(RunProcess("/usr/bin/zip", options, "/dev/null", false, staging));
    std::filesystem::remove_all(staging);
  }
};

// A sample `tick` is the file tick.wav or tick.flac; a shared sample set
// (`genpin`) is found by its name and is neither unneeded nor a finding;
// a set naming itself needs nothing more; a game's sample set holds what
// the games taking samples from it play, though it lists none itself.
TEST_F(EmulatorRulesTest, SamplesFollowMameNamesAndSharedSampleSets) {
  AddMameGame("flip", {{"f.rom", kA}});
  AddMameGame("own", {{"o.rom", kB}});
  AddMameGame("invaders", {{"i.rom", kC}});
  AddMameGame("darthvdr", {{"d.rom", kC}});
  Link();
  for (auto [game, source] : {std::pair{"flip", "genpin"}, std::pair{"darthvdr", "invaders"}}) {
    Game(game).hasSampleOf = true;
    Game(game).sampleOf = source;
  }
  AddSamples("darthvdr", {"0"});
  WriteZipSet(romPath, "invaders", {{"i.rom", kC}});
  WriteZipSet(romPath, "darthvdr", {{"d.rom", kC}});
  WriteZipSet(samplePath, "invaders", {{"0.wav", "0"}});
  AddSamples("flip", {"tick", "bell"});
  AddSamples("own", {"boom", "zap"});
  WriteZipSet(romPath, "flip", {{"f.rom", kA}});
  WriteZipSet(romPath, "own", {{"o.rom", kB}});
  WriteZipSet(samplePath, "genpin", {{"tick.wav", "t"}, {"BELL.flac", "b"}, {"other.wav", "o"}});
  WriteFolderSet(samplePath, "own", {{"boom.wav", "b"}, {"zap.flac", "z"}, {"boom.txt", "x"}});

  Scan();

  EXPECT_EQ(Lines(), (Names{"flip game [folder: flip]", "wrong spelling: bell[wrong: BELL.flac] [right: bell.flac]",
                            "own game [folder: own]", "unneeded file: " + samplePath + "own/boom.txt"}));
  EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

// MAME runs without optional ROMs and ROMs never dumped: neither is
// missing, and no stand-in is written for them; a bad dump passes by its
// CRC. A set of nothing but missing dumps may be an empty zip, which is no
// damage. Text datfiles keep their stand-ins.
TEST_F(EmulatorRulesTest, RomsMameRunsWithoutAreNeitherMissingNorStoodIn) {
  settings.zeroCrcCreation = true;
  AddMameGame("mach", {{"good.bin", kA}, {"bad.bin", kB}, {"opt.bin", kC}, {"none.bin", "", true, 16}});
  AddMameGame("hollow", {{"none.bin", "", true, 16}});
  AddGame("olddat", {{"z.bin", "", true, 16}, {"a.bin", kA}});
  Link();
  Rom("mach", "bad.bin").status = DumpStatus::kBadDump;
  Rom("mach", "opt.bin").optional = true;
  for (const std::string game : {"mach", "hollow"}) Rom(game, "none.bin").status = DumpStatus::kNoDump;
  WriteZipSet(romPath, "mach", {{"good.bin", kA}, {"bad.bin", kB}, {"junk.txt", "j"}});
  WriteFile(romPath + "hollow.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  WriteZipSet(romPath, "olddat", {{"a.bin", kA}});

  Scan();

  // Another finding brings the set's lines out, and still no missing ROM.
  EXPECT_EQ(Lines(), (Names{"mach game [folder: mach]", "unneeded file: " + romPath + "mach/junk.txt"}));
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ZipMembers(romPath + "mach.zip").size(), 3u);
  EXPECT_EQ(ZipMembers(romPath + "olddat.zip").count("z.bin"), 1u);
}

// A zip or file that is there but cannot be read, and a member that cannot
// be verified, are unreadable, never missing.
TEST_F(EmulatorRulesTest, UnreadableFilesAreToldAsSuchNotAsMissing) {
  AddGame("locked", {{"l.rom", kA}});
  AddGame("loose", {{"r.rom", kB}});
  AddGame("secret", {{"s.rom", kC}});
  AddGame("packed", {{"p.rom", kA}});
  Link();
  WriteZipSet(romPath, "locked", {{"l.rom", kA}});
  WriteFolderSet(romPath, "loose", {{"r.rom", kB}});
  // The encryption flag in both headers is all a reader sees of it.
  std::string secret = StoredZip({{"s.rom", kC}});
  secret[6] |= 1;
  secret[secret.find("PK\x01\x02") + 8] |= 1;
  WriteFile(romPath + "secret.zip", secret);
  WriteZipWith("packed", "p.rom", kA, {"-Z", "bzip2"});
  FaultyFileSystem fs;
  fs.Fail({FileOperation::kOpen, "*/locked.zip"});
  fs.Fail({FileOperation::kOpen, "*/loose/r.rom"});

  Scan(false, fs);

  EXPECT_EQ(Lines(), (Names{"locked game [folder: locked]", "unreadable set: " + romPath + "locked.zip",
                            "unreadable rom: l.rom", "loose game [folder: loose]", "unreadable rom: r.rom",
                            "packed game [folder: packed]", "unreadable rom: p.rom",
                            "secret game [folder: secret]", "unreadable rom: s.rom"}));
}

}  // namespace
}  // namespace kestrel::testing
