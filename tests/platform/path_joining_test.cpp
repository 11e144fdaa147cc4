#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// Folders given with or without their separator, any of the three, or not
// at all, join to one path with exactly one separator between the parts.
TEST(PathJoiningTest, JoinsFoldersGivenWithOrWithoutSeparator) {
  std::vector<std::string> joined;
  for (const char* folder : {"roms", "roms/", "roms\\", "c:", ""}) joined.push_back(JoinPath(folder, "pm.zip"));
  joined.push_back(WithTrailingSeparator(""));
  joined.push_back(FolderPart("pm.zip"));
  EXPECT_EQ(joined, (std::vector<std::string>{"roms/pm.zip", "roms/pm.zip", "roms\\pm.zip", "c:pm.zip", "pm.zip",
                                              "/", ""}));
}

// A relative path is made absolute against the current folder; a folder
// keeps its trailing separator, a file gets none.
TEST(PathJoiningTest, MakesRelativePathsAbsolute) {
  std::string here = WithTrailingSeparator(CurrentFolder());
  EXPECT_EQ(AbsolutePath(""), CurrentFolder());
  EXPECT_EQ(AbsolutePath("a/./b/../c"), here + "a/c");
  EXPECT_EQ(AbsolutePath("a/b/.."), here + "a/");
  EXPECT_EQ(AbsolutePath("/"), "/");
}

TEST(PathJoiningTest, MatchesTrailingStarsAndRefusesDotNames) {
  std::vector<bool> results;
  for (const char* pattern : {"pac**", "pacman.zip**", "pac", "*", "", "p?c*n.*"})
    results.push_back(MatchesWildcard("pacman.zip", pattern));
  results.push_back(MatchesWildcard("readme", "*.*"));  // as on Windows
  EXPECT_EQ(results, (std::vector<bool>{true, true, false, true, false, true, true}));
  std::vector<bool> plain;
  for (const char* name : {"", ".", "..", "...", ".a", "a/b", "a\\b", "a:b", "ab"}) plain.push_back(IsPlainFileName(name));
  EXPECT_EQ(plain, (std::vector<bool>{false, false, false, true, true, false, false, false, true}));
}

}  // namespace
}  // namespace kestrel
