#include "platform/listed_spelling.h"

#include <optional>

#include "platform/paths.h"

namespace kestrel {

Spelling TakeListedSpelling(FileSystem& fs, const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name)) return Spelling::kNotRenamed;
  std::optional<std::string> found = fs.FindPath(JoinPath(folder, name));
  if (!found) return Spelling::kAbsent;
  if (FileNamePart(*found) == name) return Spelling::kListed;
  // The rename keeps the folder as the file system spells it: only the
  // entry's own name is the program's to choose.
  return fs.RenamePath(*found, FolderPart(*found) + name) ? Spelling::kRenamed : Spelling::kNotRenamed;
}

}  // namespace kestrel
