// "scan --verdicts": MAME's verdict on every set in MAME's own words, and
// the repair that fills an empty zip.
#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "support/stored_zip.h"

namespace kestrel {
namespace {

using testing::RunCli;
using testing::StoredZip;
using testing::TempFolder;
using testing::WriteFile;

// A parent and its clone, a set with a wrong ROM, one that is an empty zip
// and one that is not there; ROMs "aaaa", "bbbb" and so on hold their names.
constexpr char kDatfile[] = R"(game ( name pa description "Parent" rom ( name a size 4 crc ad98e545 ) )
game ( name cl description "Clone" cloneof pa romof pa rom ( name a size 4 crc ad98e545 ) rom ( name b size 4 crc 0f4ff68b ) )
game ( name wr description "Wrong" rom ( name c size 4 crc d82dfa0e ) )
game ( name em description "Empty" rom ( name d size 4 crc 9190d756 ) )
game ( name gone description "Gone" rom ( name e size 4 crc 46f2dbd3 ) )
)";

std::string Scan(const TempFolder& dir, const std::string& more) {
  return "scan --verdicts --datfile " + dir / "games.dat" + " --rom-path " + dir / "roms" + " --data-folder " +
         dir / "data" + " --temp-folder " + dir / "temp" + " --backup-folder " + dir / "backup" + " " + more;
}

std::string VerdictPart(const std::string& out) { return out.substr(out.rfind("----------\n") + 11); }

// Only a checked set MAME would name gets a line (an empty zip is not
// found, which an audit of all sets leaves unsaid), after MAME's word on
// each ROM that keeps it from good; the counts close the statistics. An
// empty zip is a set with nothing found, which the add-missing repair fills.
TEST(VerdictsTest, NamesEachSetAsMameDoesAndFillsAnEmptyZip) {
  TempFolder dir;
  WriteFile(dir / "games.dat", kDatfile);
  WriteFile(dir / "roms/pa.zip", StoredZip({{"a", "aaaa"}}));
  WriteFile(dir / "roms/cl.zip", StoredZip({{"b", "bbbb"}}));
  WriteFile(dir / "roms/wr.zip", StoredZip({{"c", "cccx"}}));
  WriteFile(dir / "roms/em.zip", StoredZip({}));
  WriteFile(dir / "add/em/d", "dddd");
  for (const char* name : {"temp", "backup", "data"}) WriteFile(dir / (std::string(name) + "/keep"), "");

  testing::CliRun checked = RunCli(dir, Scan(dir, ""), "no");
  EXPECT_EQ(checked.status, 1) << checked.err;
  EXPECT_EQ(VerdictPart(checked.out),
            "romset cl [pa] is good\n"
            "romset pa is good\n"
            "wr          : c (4 bytes) - INCORRECT CHECKSUM\n"
            "romset wr is bad\n");
  EXPECT_NE(checked.out.find("Romsets Good:           2\nRomsets Best Available: 0\nRomsets Bad:            1\n"
                             "Romsets Not Found:      2\n"),
            std::string::npos)
      << checked.out;

  testing::CliRun fixed = RunCli(dir, Scan(dir, "--fix-missing --add-path " + dir / "add"), "yes");
  EXPECT_NE(VerdictPart(fixed.out).find("romset em is good\n"), std::string::npos) << fixed.out << fixed.err;
  EXPECT_EQ(testing::ReadFile(dir / "roms/em.zip").find("PK\3\4"), 0u);
}

}  // namespace
}  // namespace kestrel
