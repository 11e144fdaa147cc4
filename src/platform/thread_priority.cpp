#include "platform/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

namespace kestrel {
namespace {

struct LevelNice {
  int level;
  int nice;
};
constexpr LevelNice kLevels[] = {
    {kPriorityIdle, 19},       {kPriorityLowest, 10}, {kPriorityBelowNormal, 5},
    {kPriorityNormal, 0},      {kPriorityAboveNormal, -5}, {kPriorityHighest, -10},
    {kPriorityTimeCritical, -20},
};

id_t CurrentThreadId() { return static_cast<id_t>(::syscall(SYS_gettid)); }

}  // namespace

bool GetThreadPriority(int* level) {
  errno = 0;
  int nice = ::getpriority(PRIO_PROCESS, CurrentThreadId());
  if (errno != 0) return false;
  // The level whose nice value is closest.
  int best = kPriorityNormal, bestDistance = 1000;
  for (const LevelNice& entry : kLevels) {
    int distance = entry.nice > nice ? entry.nice - nice : nice - entry.nice;
    if (distance < bestDistance) best = entry.level, bestDistance = distance;
  }
  *level = best;
  return true;
}

void SetThreadPriority(int level) {
  int nice = 0;
  for (const LevelNice& entry : kLevels)
    if (entry.level == level) nice = entry.nice;
  ::setpriority(PRIO_PROCESS, CurrentThreadId(), nice);  // a refused raise is ignored
}

ScopedThreadPriority::ScopedThreadPriority(int level) {
  known_ = GetThreadPriority(&previous_);
  if (known_) SetThreadPriority(level);
}

ScopedThreadPriority::~ScopedThreadPriority() {
  if (known_) SetThreadPriority(previous_);
}

}  // namespace kestrel
