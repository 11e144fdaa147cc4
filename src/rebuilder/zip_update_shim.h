// Stands in for the archive layer's one-update operation (ZipChanges,
// ZipUpdate) until that is available; removed then. Same contract.
#pragma once
#include <string>
#include <vector>
#include "archive/zip_library.h"
namespace kestrel {
struct ZipChanges {
  struct Addition { std::string file; std::string memberName; };
  struct Copy { std::string sourceArchive; std::string sourceMember; std::string memberName; };
  std::vector<std::string> deletions;
  std::vector<Addition> additions;
  std::vector<Copy> copies;
};
bool ZipUpdate(ZipLibrary& library, const std::string& archivePath, const ZipChanges& changes);
}
