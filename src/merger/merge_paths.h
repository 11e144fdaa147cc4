// Where the merger finds sets and where it puts the new ones.
//
// A set `S` in a folder `D` (an active ROM path or the merge destination) is
// the zip `D` + `S` + ".zip" or the folder `D` + `S`; its work folder, in
// which the new set is assembled, is `D` + `S` + ".kpw".
#pragma once

#include <string>

namespace kestrel {

class FileSystem;
struct MergeRun;

// The first of the run's ROM paths that holds the set `name`, as a folder
// or else as a zip (both found without case); "" when no path holds it.
std::string FindSetPath(MergeRun& run, const std::string& name);

// The folder the new set `name` goes to: the merge destination when the
// sets are placed there, else the path that holds the set now, else the
// run's first ROM path.
std::string DestinationFolderOf(MergeRun& run, const std::string& name);


// Whether two folder texts name the same folder: compared without case once
// both are spelled as the file system spells them.
bool SameFolder(FileSystem& fs, const std::string& a, const std::string& b);

}  // namespace kestrel
