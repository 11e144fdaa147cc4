// Which sources a rebuild matches, by the options that widen matching, and
// what it does with a set and a ROM already in place under names of another
// case: both take the listed spelling, which MAME looks for.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "rebuilder/rebuild_fixture.h"

namespace kestrel::testing {
namespace {

const std::string kA = "contents of a", kB = "contents of b", kT = "contents of t", kZ = "contents of z";

std::string RomLine(const std::string& name, const std::string& data, uint32_t crc) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", crc);
  return "\trom ( name " + name + " size " + std::to_string(data.size()) + " crc " + text + " )\n";
}

// One run per destination kind; the zip run also matches by the complement
// of a CRC and by the name of a ROM listed without a CRC, the folder run not.
TEST_F(RebuildTest, MatchesByTildeAndZeroCrcsOnlyWhenAskedAndRenamesASetAndRomAlreadyThereUnderAnotherCase) {
  LoadList("game (\n\tname g\n\tdescription \"g\"\n" + RomLine("r1", kA, CrcOf(kA)) + RomLine("r2", kB, CrcOf(kB)) +
           RomLine("r3", kT, CrcOf(kT)) + RomLine("z", kZ, 0) + ")\n");
  const std::string tilde = DataWithCrc(kT.size(), ~CrcOf(kT));
  settings.rebuildRemoveSources = true;
  for (bool zip : {false, true}) {
    SCOPED_TRACE(zip ? "zip destination" : "folder destination");
    settings.rebuildZip = settings.rebuildTildeCrcs = settings.rebuildZeroCrcs = zip;
    WriteZip(source + "stored.zip", {{"x1", kA}}, {"-0"});
    WriteFile(source + "b.bin", kB);
    WriteFile(source + "tilde.bin", tilde);
    WriteFile(source + "z", kZ);
    ClearDestination();
    if (zip) WriteZip(destination + "G.ZIP", {{"R2", kB}});
    if (!zip) WriteFile(destination + "G/R2", kB);
    RebuildOutcome outcome = Rebuild();
    EXPECT_TRUE(outcome.completed && outcome.failures.empty());
    // Every matched source goes, the one whose ROM was there already too.
    EXPECT_EQ(Tree(source), zip ? Files{} : (Files{{"tilde.bin", tilde}, {"z", kZ}}));
    std::string set = zip ? "g.zip:" : "g/";
    Files expected = {{set + "r2", kB}, {set + "r1", kA}};
    if (zip) expected.insert({{set + "r3", tilde}, {set + "z", kZ}});
    EXPECT_EQ(Tree(destination), expected);
    std::string unmatched = zip ? "" : " [SKIPPED]";
    EXPECT_EQ(Log(), source + "b.bin\n\n" + source + "stored.zip/x1\n  -> g/r1\n\n" + source + "tilde.bin" +
                         (zip ? "\n  -> g/r3" : unmatched) + "\n\n" + source + "z" + (zip ? "\n  -> g/z" : unmatched) +
                         "\n\n");
    EXPECT_TRUE(ui.messages.empty());
  }
}

}  // namespace
}  // namespace kestrel::testing
