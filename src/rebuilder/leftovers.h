// What an interrupted rebuild leaves behind, and its removal by the next
// run. None of it holds anything that exists nowhere else: sources are
// removed only after the destination was written and read back, so a run
// stopped before that still has every source.
#pragma once

#include <string>
#include <vector>

namespace kestrel {

// The rebuilder's private work folder for this process, inside `parent`
// (ending with '/'): named after the process, so that a later run can tell
// a folder in use from one left over.
std::string WorkFolderName(const std::string& parent);

// Removes, and returns the paths of: work folders in `tempParent` whose
// process is gone, with the member copies in them; zip writes of an
// interrupted run beside the destination zips (`destination` ends with
// '/'); and the temporary files of interrupted copies in the destination's
// set folders. A work folder holding anything but files is left alone.
std::vector<std::string> RemoveLeftovers(const std::string& tempParent, const std::string& destination);

// True for the name of the temporary file a zip write makes beside
// "SET.zip" ("SET.zip.XXXXXX"), which an interrupted write leaves behind.
bool IsInterruptedZipWrite(const std::string& fileName);

}  // namespace kestrel
