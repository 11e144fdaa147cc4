#include "platform/change_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel {
namespace {

std::vector<std::string> Lines(const ChangeList& list) {
  std::vector<std::string> lines;
  for (const FileChange& change : list.changes()) lines.push_back(DescribeChange(change));
  return lines;
}

// A temporary file moved over its real name is one write of that name; one
// given up leaves nothing, and so does a work folder made and removed;
// renames through a temporary name are one; changes of files that existed
// before are listed as they come, in order.
TEST(ChangeListTest, ListsWhatIsLeftOfEachChangeInOrder) {
  ChangeList list;
  list.FolderCreated("roms/");
  list.FolderCreated("temp/kestrel-1/");
  list.Created("roms/a.zip.tmp1");
  list.Replaced("roms/a.zip.tmp1", "roms/a.zip", true);
  list.Created("roms/b.zip.tmp2");
  list.Deleted("roms/b.zip.tmp2");
  list.Created("roms/c.zip.tmp3");
  list.Replaced("roms/c.zip.tmp3", "roms/c.zip", false);
  list.Renamed("roms/C.ZIP", "roms/d.zip");
  list.Renamed("roms/f/PP.GFX", "roms/f/PP.GFX_tmp");
  list.Renamed("roms/f/PP.GFX_tmp", "roms/f/pp.gfx");
  list.Renamed("roms/g.zip", "roms/g.tmp");
  list.Renamed("roms/g.tmp", "roms/g.zip");
  list.Deleted("source/x.bin");
  list.Created("roms/e.zip");
  list.Replaced("roms/e.zip.tmp4", "roms/e.zip", true);
  list.Deleted("roms/e.zip");
  list.FolderRemoved("temp/kestrel-1/");
  list.FolderRemoved("source/");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{
                             "create folder roms/", "replace roms/a.zip", "create roms/c.zip",
                             "rename roms/C.ZIP -> roms/d.zip", "rename roms/f/PP.GFX -> roms/f/pp.gfx",
                             "delete source/x.bin", "create roms/e.zip",
                             "rename roms/e.zip.tmp4 -> roms/e.zip", "delete roms/e.zip", "remove folder source/"}));
}

}  // namespace
}  // namespace kestrel
