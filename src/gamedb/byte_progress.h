// Moves a progress bar with the share of a file read so far, so that the
// reading of a list of hundreds of megabytes shows how far it got.
#pragma once

#include <cstdint>

#include "app/user_interface.h"

namespace kestrel {

class ByteProgress {
 public:
  // Sets the dialog's range to thousandths of `totalBytes` (0 when unknown:
  // the bar then stays at its start).
  ByteProgress(ProgressDialog& progress, uint64_t totalBytes);

  // Moves the bar to `bytesRead`; steps only when a thousandth is passed.
  void Advance(uint64_t bytesRead);

 private:
  ProgressDialog& progress_;
  uint64_t totalBytes_;
  int shown_ = 0;
};

}  // namespace kestrel
