#include "platform/listed_spelling.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

std::set<std::string> Names(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// Each row: the entries there, the name asked for, whether renames fail,
// what became of it and the entries left. Another spelling is renamed (a
// file or a folder); the listed one wins over another beside it, which
// stays; a failed rename leaves the entry as it was.
TEST(ListedSpellingTest, RenamesOnlyAnEntryFoundUnderAnotherSpellingAlone) {
  struct Row {
    std::set<std::string> files, folders;
    std::string name;
    bool renameFails;
    Spelling result;
    std::set<std::string> after;
  };
  const Row rows[] = {
      {{}, {}, "pac.zip", false, Spelling::kAbsent, {}},
      {{"pac.zip"}, {}, "pac.zip", false, Spelling::kListed, {"pac.zip"}},
      {{"PAC.ZIP"}, {}, "pac.zip", false, Spelling::kRenamed, {"pac.zip"}},
      {{}, {"Pac"}, "pac", false, Spelling::kRenamed, {"pac"}},
      {{"pac.zip", "PAC.ZIP"}, {}, "pac.zip", false, Spelling::kListed, {"pac.zip", "PAC.ZIP"}},
      {{"PAC.ZIP"}, {}, "pac.zip", true, Spelling::kNotRenamed, {"PAC.ZIP"}},
      {{"PAC.ZIP"}, {}, "../pac.zip", false, Spelling::kNotRenamed, {"PAC.ZIP"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name + (row.files.empty() ? "" : " beside " + *row.files.begin()));
    testing::TempFolder root;
    for (const std::string& file : row.files) testing::WriteFile(root / file, "x");
    for (const std::string& folder : row.folders) std::filesystem::create_directories(root / folder);
    testing::FaultyFileSystem disk;
    if (row.renameFails) disk.Fail({testing::FileOperation::kRename});
    EXPECT_EQ(TakeListedSpelling(disk, root.path(), row.name), row.result);
    EXPECT_EQ(Names(root.path()), row.after);
  }
}

}  // namespace
}  // namespace kestrel
