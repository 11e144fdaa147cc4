#include "gamedb/byte_progress.h"

namespace kestrel {

namespace {
constexpr int kSteps = 1000;
}  // namespace

ByteProgress::ByteProgress(ProgressDialog& progress, uint64_t totalBytes)
    : progress_(progress), totalBytes_(totalBytes) {
  progress_.SetRange(0, kSteps);
}

void ByteProgress::Advance(uint64_t bytesRead) {
  if (totalBytes_ == 0) return;
  if (bytesRead > totalBytes_) bytesRead = totalBytes_;
  int reached = static_cast<int>(bytesRead * kSteps / totalBytes_);
  if (reached <= shown_) return;
  progress_.SetStep(reached - shown_);
  progress_.Step();
  shown_ = reached;
}

}  // namespace kestrel
