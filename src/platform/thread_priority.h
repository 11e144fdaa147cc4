// Thread priorities in the levels the settings store: -15 idle, -2 lowest,
// -1 below normal, 0 normal, 1 above normal, 2 highest, 15 time critical.
// They map to nice values of the calling thread; a raise the system refuses
// is ignored.
#pragma once

namespace kestrel {

enum ThreadPriorityLevel : int {
  kPriorityIdle = -15,
  kPriorityLowest = -2,
  kPriorityBelowNormal = -1,
  kPriorityNormal = 0,
  kPriorityAboveNormal = 1,
  kPriorityHighest = 2,
  kPriorityTimeCritical = 15,
};

// False when the priority cannot be read.
bool GetThreadPriority(int* level);
void SetThreadPriority(int level);

// Sets a priority for one scope and gives the old one back at its end
// (when it could be read).
class ScopedThreadPriority {
 public:
  explicit ScopedThreadPriority(int level);
  ~ScopedThreadPriority();
  ScopedThreadPriority(const ScopedThreadPriority&) = delete;
  ScopedThreadPriority& operator=(const ScopedThreadPriority&) = delete;

 private:
  int previous_ = kPriorityNormal;
  bool known_ = false;
};

}  // namespace kestrel
