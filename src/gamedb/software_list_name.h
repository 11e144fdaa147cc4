// The name of a MAME software list file: MAME keeps the list's sets under a
// folder of this name in every ROM path ("ROMPATH/a2600/adventp.zip").
#pragma once

#include <optional>
#include <string>

namespace kestrel {

// The `name` of the document's root element when that is a
// <softwarelist>; nullopt for any other file, or one that cannot be read
// or names no plain folder. Reads no further than the root element's start.
std::optional<std::string> ReadSoftwareListName(const std::string& path);

// Whether some item of the list at `path` names a ROM or disk file
// (<rom name=...> or <disk name=...>): some lists (tc4, quizwiz) describe
// cartridges with no data at all, which need no set. True when the file
// cannot be read, so that the reader reports it.
bool NamesAnyFile(const std::string& path);

}  // namespace kestrel
