// A file made piece by piece holds every piece in order, whatever their
// sizes against the writer's buffer, and replaces the old file only whole.
#include "cli/output_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/temp_folder.h"

namespace kestrel {
namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(OutputFileTest, PiecesOfAnySizeArriveInOrderAndAFailedMakingKeepsTheOldFile) {
  testing::TempFolder dir;
  const std::string path = dir / "report.json";
  // Small pieces past the buffer, one larger than it, then small ones again.
  std::vector<std::string> pieces;
  for (int i = 0; i < 3000; ++i) pieces.push_back(std::to_string(i) + std::string(500, char('a' + i % 26)));
  pieces.push_back(std::string(3 << 20, 'L'));
  for (int i = 0; i < 10; ++i) pieces.push_back("tail" + std::to_string(i));
  std::string expected;
  for (const std::string& piece : pieces) expected += piece;
  ASSERT_TRUE(WriteOutputFile("Report", path, [&](const PieceWriter& write) {
    for (const std::string& piece : pieces)
      if (!write(piece)) return false;
    return true;
  }));
  EXPECT_EQ(ReadWhole(path), expected);

  EXPECT_FALSE(WriteOutputFile("Report", path, [](const PieceWriter& write) {
    write(std::string(2 << 20, 'x'));
    return false;
  }));
  EXPECT_EQ(ReadWhole(path), expected);
}

}  // namespace
}  // namespace kestrel
