#include "acquire/import_paths.h"

#include <cstdio>

#include <filesystem>

#include <gtest/gtest.h>

#include "acquire/read_line.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

using testing::TempFolder;
using testing::WriteFile;

std::vector<std::string> Paths(const PathList& list) {
  std::vector<std::string> paths;
  for (const PathEntry& entry : list) {
    paths.push_back(entry.path + (entry.enabled ? "" : " (off)") + " #" + std::to_string(entry.position));
  }
  return paths;
}

TEST(ImportPathsTest, ValuesSplitAtSemicolonsWithoutDoublesOrComments) {
  TempFolder folder;
  std::filesystem::create_directories(folder / "Roms");
  std::filesystem::create_directories(folder / "more");
  WriteFile(folder / "cfg/kestrel.cfg",
            "rompath=outside\n[Directory]\r\n  RomPath = ../roms ; " + folder.path() + "more/ ;; later\r\n"
            "# note=not a path\nrompath=../ROMS\nno value here\n  [not a section]\n"
            "SamplePath=" + folder.path() + "cfg;gone\ncheat=.\n[config]\nsamplepath=after\n");
  SettingsRecord settings;
  // Already listed, as the user once typed it: the same folder, not a new one.
  settings.romPaths.push_back({folder / "ROMS/", true, -1, 0});
  settings.miscPaths.push_back({"/kept/", true, -1, 0});
  ASSERT_TRUE(ImportPaths(folder / "cfg/kestrel.cfg", settings));
  // Folders found as the disk spells them, relative ones from the file's
  // folder; a missing one stays as written, disabled.
  EXPECT_EQ(Paths(settings.romPaths), (std::vector<std::string>{folder / "ROMS/ #0", folder / "more/ #1"}));
  EXPECT_EQ(Paths(settings.samplePaths), (std::vector<std::string>{folder / "cfg/ #0", "gone/ (off) #1"}));
  EXPECT_EQ(Paths(settings.miscPaths), (std::vector<std::string>{"/kept/ #0", folder / "cfg/ #1"}));

  EXPECT_FALSE(ImportPaths(folder / "missing.cfg", settings));
}

// An over-long line keeps its first `keep` characters and costs no more;
// both line ends are taken off.
TEST(ReadLineTest, KeepsTheStartOfALongLineAndDropsEitherLineEnd) {
  TempFolder dir;
  WriteFile(dir / "lines.ini", "abcdef\r\nxy\r\n\nz");
  std::FILE* file = OpenFile(dir / "lines.ini", "rb");
  ASSERT_NE(file, nullptr);
  std::vector<std::string> lines;
  for (std::string line; ReadLine(file, line, 3);) lines.push_back(line);
  std::fclose(file);
  EXPECT_EQ(lines, (std::vector<std::string>{"abc", "xy", "", "z"}));
}

}  // namespace
}  // namespace kestrel
