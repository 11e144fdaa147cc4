#include "platform/recent_changes.h"

namespace kestrel {

void RecentChanges::Note(std::string_view path, std::string_view otherPath) {
  std::lock_guard lock(mutex_);
  ++count_;
  changes_.push_back({count_, std::string(path), std::string(otherPath)});
  if (changes_.size() > kKept) changes_.pop_front();
}

uint64_t RecentChanges::Count() const {
  std::lock_guard lock(mutex_);
  return count_;
}

std::optional<ChangedPaths> RecentChanges::Since(uint64_t after) const {
  std::lock_guard lock(mutex_);
  if (after > count_) return std::nullopt;
  const uint64_t oldestKept = count_ - changes_.size() + 1;
  if (after + 1 < oldestKept) return std::nullopt;
  ChangedPaths changed;
  changed.upTo = count_;
  for (size_t i = static_cast<size_t>(after + 1 - oldestKept); i < changes_.size(); ++i) {
    const Change& change = changes_[i];
    if (!change.path.empty()) changed.paths.push_back(change.path);
    if (!change.otherPath.empty()) changed.paths.push_back(change.otherPath);
  }
  return changed;
}

}  // namespace kestrel
