#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "platform/paths.h"

extern char** environ;

namespace kestrel {

bool RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& outputFile, bool append, const std::string& workingFolder,
                ErrorOutput errors) {
  std::string realProgram = ResolvePath(program);
  // The child changes its folder before it starts the program, so a
  // relative path is made absolute against the caller's folder first.
  if (!realProgram.empty()) realProgram = AbsolutePath(realProgram);
  std::string output = ResolvePath(outputFile);
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
  int outputFd = ::open(output.c_str(), flags, 0644);
  if (outputFd < 0) return false;

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(realProgram.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (errors == ErrorOutput::kDiscarded)
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string folder = workingFolder.empty() ? std::string() : ResolvePath(workingFolder);
  // The child changes its folder; the parent's stays as it is.
  if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  pid_t child = 0;
  int result = ::posix_spawn(&child, realProgram.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(outputFd);
  if (result != 0) return false;

  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

}  // namespace kestrel

namespace kestrel {

int CurrentProcessId() { return static_cast<int>(::getpid()); }

bool IsProcessRunning(int id) {
  // Signal 0 only asks whether the process could be signalled; EPERM means
  // it exists under another user.
  return id > 0 && (::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM);
}

}  // namespace kestrel
