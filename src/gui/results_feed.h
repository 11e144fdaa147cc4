// The way a scan on a worker thread reaches the results window: the scan
// writes a results model of its own, which no window reads; every line it
// adds is noted here, and the GUI thread takes the noted lines over into
// the model the windows show, in batches, whenever it has time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "report/results_model.h"

namespace kestrel {

class ResultsFeed {
 public:
  // Becomes the view of `produced`, the model the worker writes; it must
  // outlive the feed.
  explicit ResultsFeed(ResultsModel& produced);
  ~ResultsFeed();
  ResultsFeed(const ResultsFeed&) = delete;
  ResultsFeed& operator=(const ResultsFeed&) = delete;

  // On the GUI thread: adds up to `most` of the lines noted since the last
  // call to `shown` (emptied first when the worker started its tree anew)
  // and tells its view. A bounded batch keeps the GUI thread's turn short
  // when the scan ran ahead of it.
  struct Delivery {
    bool changed = false;  // `shown` changed
    bool more = false;     // lines are left for the next call
  };
  Delivery Deliver(ResultsModel& shown, size_t most = SIZE_MAX);
  // On the worker, once it has added its last line: waits until the GUI
  // thread has taken every line, which it does in its usual turns.
  void WaitUntilDelivered();
  // Once the worker has ended: delivers the rest, and `shown` takes over
  // the stored lines of a run that started its tree anew, for a later
  // rebuild and the logfile. A run that never started leaves `shown` as it
  // was.
  void Finish(ResultsModel& shown);

 private:
  struct Added {
    ResultTreeItem item;  // without children; they follow as their own entries
    bool child = false;   // goes under the last top-level item
  };
  void NoteInserted(int top, int child);
  void NoteRebuilt();

  ResultsModel& produced_;
  std::mutex mutex_;
  std::condition_variable delivered_;  // told when nothing is left pending
  std::deque<Added> pending_;   // in the order added
  bool restarted_ = false;      // the tree was started anew since the last delivery
  bool everRestarted_ = false;
  int firstVisibleItem_ = -1;   // the worker's, at its last line
};

}  // namespace kestrel
