// The entries a scan lists by path: files, folders and zip members that
// belong to no expected ROM or set, and files of a set under a wrong ROM
// name. Each keeps what its repair needs to find it again.
#pragma once

#include <string>

#include "archive/zip_entry.h"

namespace kestrel {

// A file, folder or zip member that belongs to no expected ROM or set.
struct FoundEntry {
  std::string name;     // full path; for a member the zip path without ".zip", '/', member name
  std::string setName;  // the set it was found in
  bool fixed = false;   // removed by the repair
  bool isFolder = false;
  bool inZip = false;
  std::string zipPath;
  std::string storedName;  // member name as stored in the zip
  ZipEntry zipEntry;
  bool pendingRemoval = false;
};

// A file of a set found under a wrong ROM name.
struct WrongNameEntry {
  std::string foundName;
  std::string rightName;
  std::string fullPath;
  bool fixed = false;
  bool inZip = false;
  std::string storedName;
  ZipEntry zipEntry;
};

}  // namespace kestrel
