#include "gui/results_feed.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "gui/off_gui_thread.h"

namespace kestrel {

ResultsFeed::ResultsFeed(ResultsModel& produced) : produced_(produced) {
  produced_.onInserted = [this](int top, int child) { NoteInserted(top, child); };
  produced_.onRebuilt = [this] { NoteRebuilt(); };
}

ResultsFeed::~ResultsFeed() {
  produced_.onInserted = nullptr;
  produced_.onRebuilt = nullptr;
}

// Runs on the worker, right after the line went in.
void ResultsFeed::NoteInserted(int top, int child) {
  const ResultTreeItem& parent = produced_.items[static_cast<size_t>(top)];
  Added added{child < 0 ? parent : parent.children[static_cast<size_t>(child)], child >= 0};
  added.item.children.clear();
  std::lock_guard lock(mutex_);
  pending_.push_back(std::move(added));
  firstVisibleItem_ = produced_.firstVisibleItem;
}

// A tree started anew replaces everything noted before it.
void ResultsFeed::NoteRebuilt() {
  std::lock_guard lock(mutex_);
  pending_.clear();
  restarted_ = everRestarted_ = true;
  for (const ResultTreeItem& top : produced_.items) {
    pending_.push_back({ResultTreeItem{top.text, top.kind, top.hasChildren, {}, top.detail}, false});
    for (const ResultTreeItem& child : top.children) pending_.push_back({child, true});
  }
  firstVisibleItem_ = produced_.firstVisibleItem;
}

ResultsFeed::Delivery ResultsFeed::Deliver(ResultsModel& shown, size_t most) {
  std::vector<Added> added;
  bool restarted = false;
  bool more = false;
  int firstVisible = -1;
  {
    std::lock_guard lock(mutex_);
    const size_t count = std::min(most, pending_.size());
    added.assign(std::make_move_iterator(pending_.begin()), std::make_move_iterator(pending_.begin() + count));
    pending_.erase(pending_.begin(), pending_.begin() + count);
    more = !pending_.empty();
    restarted = std::exchange(restarted_, false);
    firstVisible = firstVisibleItem_;
  }
  if (!more) delivered_.notify_all();
  if (!restarted && added.empty()) return {};
  if (restarted) {
    FreeOffGuiThread(std::exchange(shown.items, {}));
    FreeOffGuiThread(std::exchange(shown.lines, {}));
  }
  for (Added& line : added) {
    if (!line.child) {
      shown.items.push_back(std::move(line.item));
    } else if (!shown.items.empty()) {  // else the window was emptied meanwhile
      shown.items.back().children.push_back(std::move(line.item));
    }
  }
  shown.lastTopItem = static_cast<int>(shown.items.size()) - 1;
  shown.firstVisibleItem = firstVisible < static_cast<int>(shown.items.size()) ? firstVisible : shown.lastTopItem;
  if (restarted) {
    if (shown.onRebuilt) shown.onRebuilt();
  } else if (shown.onInserted) {
    shown.onInserted(shown.lastTopItem, -1);
  }
  return {true, more};
}

void ResultsFeed::WaitUntilDelivered() {
  std::unique_lock lock(mutex_);
  delivered_.wait(lock, [this] { return pending_.empty() && !restarted_; });
}

void ResultsFeed::Finish(ResultsModel& shown) {
  Deliver(shown);
  if (everRestarted_) shown.lines = std::move(produced_.lines);
  FreeOffGuiThread(std::exchange(produced_.items, {}));
  FreeOffGuiThread(std::exchange(produced_.lines, {}));
}

}  // namespace kestrel
