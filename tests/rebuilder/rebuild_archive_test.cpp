// Sources in archives the strict zip reader leaves alone: 7z, tar.gz, a
// gzipped file, zip members of other methods. Each is matched by the CRC-32
// of what it unpacks to and deflated into the destination; what cannot be
// read is named, and only a zip's members are ever removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive/archive_fixtures.h"
#include "rebuilder/rebuild_fixture.h"

namespace kestrel::testing {
namespace {

class RebuildArchiveTest : public RebuildTest {
 protected:
  RebuildArchiveTest() {
    AddGame("g", {{"r1", r1}, {"r2", r2}, {"r3", r3}, {"r4", r4}, {"r5", r5}});
    Load();
  }
  std::vector<std::string> Failures(const RebuildOutcome& outcome) {
    std::vector<std::string> texts;
    for (const RebuildFailure& failure : outcome.failures)
      texts.push_back(failure.path.substr(source.size()) + ": " + failure.reason.substr(0, 19));
    std::sort(texts.begin(), texts.end());
    return texts;
  }
  const std::string r1 = std::string(3000, 'a') + "one", r2 = std::string(5000, 'b') + "two";
  const std::string r3 = std::string(700, 'c') + "three", r4 = std::string(900, 'd') + "four";
  const std::string r5 = std::string(1 << 20, '\0') + "five";
};

TEST_F(RebuildArchiveTest, EveryKindIsUnpackedMatchedAndDeflated) {
  for (bool zipped : {true, false}) {
    SCOPED_TRACE(zipped);
    ClearDestination();
    settings.rebuildZip = zipped;
    WriteFile(source + "a.7z", PackArchive(Packing::k7z, {{"sub/x", r1}, {"readme.txt", "no ROM"}}));
    WriteFile(source + "b.tar.gz", PackArchive(Packing::kTarGz, {{"y", r2}}));
    WriteFile(source + "r3.gz", PackArchive(Packing::kLoneGz, {{"", r3}}));
    WriteFile(source + "c.zip", BuildZip({CompressedMember("z", r4, 93), MemberBytes("w", "no ROM either")}));
    RebuildOutcome outcome = Rebuild();
    EXPECT_TRUE(outcome.completed);
    EXPECT_EQ(Failures(outcome), std::vector<std::string>{});
    std::string set = zipped ? "g.zip:" : "g/";
    EXPECT_EQ(Tree(destination), (Files{{set + "r1", r1}, {set + "r2", r2}, {set + "r3", r3}, {set + "r4", r4}}));
    EXPECT_EQ(outcome.counts.sourceFiles, 6);
    EXPECT_EQ(outcome.counts.matched, 4);
  }
  // A copy unpacked for a zip waits in the work folder; none is left after.
  EXPECT_EQ(Tree(settings.tempFolder), Files{});
}

TEST_F(RebuildArchiveTest, WhatCannotBeReadIsNamedAndNothingIsRemoved) {
  std::string sevenZip = PackArchive(Packing::k7z, {{"x", r1}, {"y", r2}});
  std::string bad = BuildZip({CompressedMember("z", r4, 93)});
  bad[33] ^= 0x55;  // the zstd frame's magic number
  WriteFile(source + "short.7z", sevenZip.substr(0, sevenZip.size() - 40));
  WriteFile(source + "junk.7z", "no archive");
  WriteFile(source + "bad.zip", bad);
  WriteFile(source + "good.7z", PackArchive(Packing::k7z, {{"x", r1}}));
  WriteFile(source + "zstd.zip", BuildZip({CompressedMember("y", r2, 93)}));
  // Far smaller packed than unpacked, which libarchive's zip reader cuts short.
  WriteFile(source + "flat.zip", BuildZip({CompressedMember("f", r5, 93), CompressedMember("g", r5 + "x", 95)}));
  MemberBytes lying = CompressedMember("l", r3, 12);
  lying.crc ^= 1;
  WriteFile(source + "lying.zip", BuildZip({lying}));
  settings.rebuildRemoveSources = true;
  RebuildOutcome outcome = Rebuild();
  EXPECT_EQ(Failures(outcome), (std::vector<std::string>{"bad.zip/z: could not be read: ", "good.7z/x: was rebuilt but kep",
                                                          "junk.7z: could not be read: ", "lying.zip/l: is damaged: its con",
                                                          "short.7z: could not be read: "}));
  EXPECT_EQ(Tree(destination), (Files{{"g.zip:r1", r1}, {"g.zip:r2", r2}, {"g.zip:r5", r5}}));
  // A zip's member goes like any other; nothing else is touched.
  EXPECT_TRUE(FileExists(source + "good.7z"));
  EXPECT_FALSE(FileExists(source + "zstd.zip"));
  EXPECT_EQ(outcome.counts.sourcesRemoved, 2);  // y, and f from flat.zip, which keeps g
}

}  // namespace
}  // namespace kestrel::testing
