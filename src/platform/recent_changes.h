// The paths a file system changed lately, numbered as it counts its
// changes. A folder listing taken at change N is brought up to date by
// looking again at just the paths changed after N, instead of listing the
// folder anew: a tool that writes one set after another into a folder of
// 40,000 would otherwise list the whole folder once per set.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The paths changed after a given change, up to and including change
// `upTo`; a path may come more than once.
struct ChangedPaths {
  uint64_t upTo = 0;
  std::vector<std::string> paths;
};

class RecentChanges {
 public:
  // Counts one change (done or failed) of the paths given; "" is skipped.
  void Note(std::string_view path, std::string_view otherPath = {});

  // How many changes were counted so far.
  uint64_t Count() const;

  // The paths changed after change `after`; nothing when the log no longer
  // holds them all (it keeps the last kKept changes), so that the caller
  // lists the folder anew.
  std::optional<ChangedPaths> Since(uint64_t after) const;

  static constexpr size_t kKept = 4096;

 private:
  struct Change {
    uint64_t number;
    std::string path;
    std::string otherPath;
  };
  mutable std::mutex mutex_;
  uint64_t count_ = 0;
  std::deque<Change> changes_;  // the last ones, numbered count_ - size() + 1 .. count_
};

}  // namespace kestrel
