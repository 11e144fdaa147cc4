// A full disk, as far as one process can tell: no file grows beyond a limit
// while the guard lives, and writes past it fail instead of raising a
// signal.
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace kestrel::testing {

struct FileSizeLimit {
  explicit FileSizeLimit(rlim_t bytes) : previous(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit limit{bytes, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  void (*previous)(int);
  rlimit old{};
};

}  // namespace kestrel::testing
