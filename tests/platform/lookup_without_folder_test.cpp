#include <gtest/gtest.h>

#include "platform/folder_index.h"

namespace kestrel {
namespace {

// No folder holds nothing: the lookup does not fall back to the root or the
// current folder.
TEST(LookupWithoutFolderTest, FindsNothing) {
  FolderIndex index;
  EXPECT_TRUE(index.Find("/", "tmp"));
  EXPECT_FALSE(index.Find("", "tmp"));
}

}  // namespace
}  // namespace kestrel
