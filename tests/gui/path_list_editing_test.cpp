// Moving and removing lines of a path list, without the dialog.
#include <gtest/gtest.h>

#include "gui/path_list_editing.h"

namespace kestrel {
namespace {

PathList Lines(const std::string& names) {
  PathList list;
  for (char name : names) list.push_back({std::string(1, name), true, -1, static_cast<int>(list.size()),
                                          100 + static_cast<intptr_t>(list.size())});
  return list;
}

// The names in order; every line's position and tree item must be its index.
std::string Order(const PathList& list) {
  std::string order;
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].position, static_cast<int>(i)) << list[i].path;
    EXPECT_EQ(list[i].treeItem, 100 + static_cast<intptr_t>(i)) << list[i].path;
    order += list[i].path;
  }
  return order;
}

TEST(PathListEditing, LinesMoveOnePlaceAndStopAtBothEnds) {
  PathList list = Lines("abc");
  EXPECT_EQ(MovePathLine(list, 2, 1), 2);  // the last line down: nothing moves
  EXPECT_EQ(Order(list), "abc");
  EXPECT_EQ(MovePathLine(list, 0, -1), 0);
  EXPECT_EQ(MovePathLine(list, 3, -1), 3);  // no such line
  EXPECT_EQ(MovePathLine(list, -1, 1), -1);
  EXPECT_EQ(Order(list), "abc");
  EXPECT_EQ(MovePathLine(list, 1, 1), 2);
  EXPECT_EQ(Order(list), "acb");
  EXPECT_EQ(MovePathLine(list, 1, -1), 0);
  EXPECT_EQ(Order(list), "cab");
  PathList one = Lines("a");
  EXPECT_EQ(MovePathLine(one, 0, 1), 0);
  EXPECT_EQ(Order(one), "a");
}

TEST(PathListEditing, AFolderIsAddedOnceInAnySpelling) {
  PathList list;
  EXPECT_TRUE(AddPath(list, "/no/such/Roms"));
  EXPECT_FALSE(AddPath(list, "/NO/SUCH/roms/"));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, "/no/such/Roms/");
}

TEST(PathListEditing, RemovingALineNumbersTheRestAgain) {
  PathList list = Lines("abc");
  RemovePathLine(list, 3);
  RemovePathLine(list, 0);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path + list[1].path, "bc");
  EXPECT_EQ(list[0].position, 0);
  EXPECT_EQ(list[1].position, 1);
}

}  // namespace
}  // namespace kestrel
