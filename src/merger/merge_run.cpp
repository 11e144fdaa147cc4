#include "merger/merge_run.h"

namespace kestrel {

void MergeRun::Pump() {
  auto now = std::chrono::steady_clock::now();
  if (now - lastPump_ < std::chrono::milliseconds(50)) return;
  lastPump_ = now;
  if (progress.IsCancelled()) cancelled_ = true;
}

bool MergeRun::CancelRequested() {
  if (progress.IsCancelled()) cancelled_ = true;
  lastPump_ = std::chrono::steady_clock::now();
  return cancelled_;
}

}  // namespace kestrel
