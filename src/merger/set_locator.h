// Finding sets by name, without case, in the ROM paths and the merge
// destination, through a FolderIndex: asking the file system for a name not
// spelled exactly as on disk reads the whole folder, and a ROM path may hold
// tens of thousands of sets. The index sees every change the run makes.
#pragma once

#include <optional>
#include <string>

#include "platform/folder_index.h"

namespace kestrel {

// What a run's work folder for a set is named after the set's name: the
// new set is built there before it takes the set's place.
inline constexpr char kWorkFolderSuffix[] = ".kpw";

class SetLocator {
 public:
  // Lists folders through `fs`.
  explicit SetLocator(FileSystem& fs) : index_(fs) {}

  // The folder or zip (`setName` + ".zip") of the set in `folder`, as the
  // file system spells it; an exact spelling is preferred. nullopt when the
  // folder holds none.
  std::optional<std::string> FindFolder(const std::string& folder, const std::string& setName);
  std::optional<std::string> FindZip(const std::string& folder, const std::string& setName);
  // The work folder a run over the set `setName` in `folder` makes (or one
  // left by a run that was stopped), as the file system spells it; nullopt
  // when there is none.
  std::optional<std::string> FindWorkFolder(const std::string& folder, const std::string& setName);

  // Asks the disk again, at the next lookup in each folder, whether another
  // program changed it (the run's own changes are always seen).
  void NextRound() { index_.NextRound(); }

 private:
  FolderIndex index_;
};

}  // namespace kestrel
