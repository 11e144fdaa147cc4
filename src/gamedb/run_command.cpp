#include "gamedb/run_command.h"

#include <system_error>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/process.h"

namespace kestrel {

bool RunCommand(const std::vector<std::string>& arguments, const std::string& outputPath,
                const std::string& executable, bool append, ErrorOutput errors) {
  // The child changes into the executable's folder before it starts, so a
  // relative path would no longer lead to the program.
  std::string program = AbsolutePath(ResolvePath(executable));
  if (RunProcess(program, arguments, outputPath, append, FolderPart(program), errors)) return true;
  DeleteFile(outputPath);
  return false;
}

}  // namespace kestrel
