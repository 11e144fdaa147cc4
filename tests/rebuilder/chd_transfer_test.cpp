// Putting a CHD in place, the one way the rebuilder and the merger move or
// copy a disk: whatever fails, the original stays until a copy read back
// with its SHA-1 and size, and nothing half-written is left at the target.
#include "archive/chd_transfer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

// A version 5 header giving `sha1Byte` repeated as its SHA-1, then `padding`.
std::string Chd(uint8_t sha1Byte, size_t padding = 5000) {
  std::string bytes(124, '\0');
  bytes.replace(0, 8, "MComprHD");
  bytes[11] = 124;
  bytes[15] = 5;
  bytes[58] = 0x10;
  for (int i = 0; i < 20; ++i) bytes[size_t(84 + i)] = char(sha1Byte);
  return bytes + std::string(padding, 'd');
}

Sha1Digest Sha1Of(uint8_t byte) {
  Sha1Digest digest;
  digest.fill(byte);
  return digest;
}

struct Case {
  const char* what;
  ChdTransfer how;
  std::vector<Fault> faults;
  uint8_t claimedSha1 = 0x11;  // what the caller says the header gives
  bool targetTaken = false;
  bool placed;
  bool originalLeft;  // the original is still there afterwards
  bool reportedLeft = false;
};

TEST(ChdTransferTest, TheOriginalGoesOnlyOnceAVerifiedCopyIsInPlace) {
  const Case cases[] = {
      {"copy", ChdTransfer::kCopy, {}, 0x11, false, true, true},
      {"move by rename", ChdTransfer::kMove, {}, 0x11, false, true, false},
      {"move across file systems", ChdTransfer::kMove, {{FileOperation::kRename}}, 0x11, false, true, false},
      {"copy on a full disk", ChdTransfer::kCopy, {{FileOperation::kWrite}}, 0x11, false, false, true},
      {"move whose copy cannot be written", ChdTransfer::kMove, {{FileOperation::kRename}, {FileOperation::kWrite}},
       0x11, false, false, true},
      {"copy reading back another SHA-1", ChdTransfer::kCopy, {}, 0x22, false, false, true},
      {"move reading back another SHA-1", ChdTransfer::kMove, {{FileOperation::kRename}}, 0x22, false, false, true},
      {"move whose original cannot be removed", ChdTransfer::kMove,
       {{FileOperation::kRename}, {FileOperation::kDelete}}, 0x11, false, true, true, true},
      {"target taken", ChdTransfer::kMove, {}, 0x11, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder dir;
    const std::string from = dir / "from.chd", to = dir / "to.chd";
    WriteFile(from, Chd(0x11));
    if (c.targetTaken) WriteFile(to, "taken");
    FaultyFileSystem faulty;
    for (const Fault& fault : c.faults) faulty.Fail(fault);
    bool left = false;
    EXPECT_EQ(TransferChd(faulty, from, to, Sha1Of(c.claimedSha1), c.how, &left), c.placed);
    EXPECT_EQ(left, c.reportedLeft);
    EXPECT_EQ(fs::exists(from), c.originalLeft);
    if (c.originalLeft) {
      EXPECT_EQ(ReadFile(from), Chd(0x11));
    }
    if (c.targetTaken || c.placed) {
      EXPECT_EQ(ReadFile(to), c.targetTaken ? "taken" : Chd(0x11));
    }
    // Nothing else: no target of a failed copy, no temporary file.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, size_t(c.originalLeft) + size_t(c.placed || c.targetTaken));
  }
}

TEST(ChdTransferTest, KnowsCHDsByTheirExtensionInAnyCase) {
  EXPECT_TRUE(HasChdExtension("game.CHD"));
  EXPECT_TRUE(HasChdExtension("a.chd"));
  EXPECT_FALSE(HasChdExtension(".chd"));
  EXPECT_FALSE(HasChdExtension("game.chd.zip"));
}

}  // namespace
}  // namespace kestrel::testing
