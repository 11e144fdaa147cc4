#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

namespace fs = std::filesystem;

// Sets are found without case, the exact spelling first, and only as the
// kind asked for: a stray file named like a set is no set folder.
TEST(SetLocatorTest, PrefersTheExactSpellingAndTheKindAskedFor) {
  TempFolder root;
  WriteFile(root / "Pacman.zip", "other");
  WriteFile(root / "pacman.zip", "set");
  WriteFile(root / "single", "a stray file");
  fs::create_directories(root / "galaxian.zip");
  WriteFile(root / "GALAXIAN.ZIP", "set");
  SetLocator locator(RealFileSystem());
  const std::string folder = root.path();
  EXPECT_EQ(locator.FindZip(folder, "pacman"), folder + "pacman.zip");
  EXPECT_EQ(locator.FindZip(folder, "PACMAN"), folder + "Pacman.zip");
  EXPECT_EQ(locator.FindFolder(folder, "single"), std::nullopt);
  EXPECT_EQ(locator.FindZip(folder, "galaxian"), folder + "GALAXIAN.ZIP");
  EXPECT_EQ(locator.FindFolder(folder, "galaxian.zip"), folder + "galaxian.zip");
}

}  // namespace
}  // namespace kestrel::testing
