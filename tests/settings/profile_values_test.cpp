// Values a profile holds. Strings: every length form, 16-bit text, and the
// damage a file can show (a length past its end, a second 16-bit marker).
// Choices that only count against something else: layouts against a tool's
// table, paths against their check boxes, the merge destination against the
// placement.

#include <cstdio>
#include <memory>

#include <gtest/gtest.h>

#include "settings/byte_stream.h"
#include "settings/enabled_paths.h"
#include "settings/layout_codes.h"
#include "settings/tool_folders.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// The string read from `bytes` (a file claiming `extra` more bytes than it
// has), or "<damaged>".
std::string ReadFrom(std::string bytes, uint64_t extra = 0) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(fmemopen(bytes.data(), bytes.size(), "rb"), std::fclose);
  ByteReader in(file.get(), bytes.size() + extra);
  std::string text;
  return in.ReadString(text) ? text : "<damaged>";
}

TEST(ProfileValuesTest, ReadsEveryLengthFormAndRefusesDamage) {
  using namespace std::string_literals;
  const std::string ab300 = std::string(150, 'a') + std::string(150, 'b');
  EXPECT_EQ(ReadFrom("\x02xy"), "xy");
  EXPECT_EQ(ReadFrom("\xFF\x2C\x01"s + ab300), ab300);
  EXPECT_EQ(ReadFrom("\xFF\xFF\xFF\x02\x00\x00\x00xy"s), "xy");
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\x02" "A\0\xE9\0"s), "A\xC3\xA9");
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\xFF\xFE\xFF\x01" "A\0"s), "<damaged>");  // two markers
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\x02" "A\0"s), "<damaged>");              // units past the end
  EXPECT_EQ(ReadFrom("\xFF\xFE\xFF\x02" "A\0"s, 2), "<damaged>");           // file shorter than it said
  EXPECT_EQ(ReadFrom("\x03xy"s, 1), "<damaged>");
  EXPECT_EQ(ReadFrom("\x03xy"s), "<damaged>");
  EXPECT_EQ(ReadFrom("\xFF\x02"s), "<damaged>");
  EXPECT_EQ(ReadFrom("\xFF\xFF\xFF\x02\x00"s), "<damaged>");
}

TEST(ProfileValuesTest, LayoutCodesStayInsideTheirTable) {
  EXPECT_EQ(LayoutCode(SetLayout::kNonMerged, kMergerLayoutCodes), -1);
  EXPECT_EQ(LayoutCode(SetLayout::kMerged, kToolLayoutCodes), 2);
  EXPECT_EQ(LayoutOfCode(1, kMergerLayoutCodes), SetLayout::kMerged);
  EXPECT_EQ(LayoutOfCode(2, kMergerLayoutCodes), std::nullopt);
  EXPECT_EQ(LayoutOfCode(-1, kToolLayoutCodes), std::nullopt);
}

TEST(ProfileValuesTest, OnlyTickedPathsAndAPlacedDestinationCount) {
  testing::TempFolder root;
  SettingsRecord settings;
  settings.romPaths = {{"/a"}, {"/b/", false}, {""}, {"/c/"}};
  EXPECT_EQ(EnabledPaths(settings.romPaths), (std::vector<std::string>{"/a/", "/c/"}));
  settings.mergeDestination = root / "nowhere";
  EXPECT_EQ(CheckMergerFolders(settings).fault, FolderFault::kNone);
  settings.mergePlacement = MergePlacement::kIntoDestination;
  EXPECT_EQ(CheckMergerFolders(settings).fault, FolderFault::kCantAccess);
  settings.mergeDestination = root.path();
  EXPECT_EQ(CheckMergerFolders(settings).fault, FolderFault::kNone);
}

}  // namespace
}  // namespace kestrel
