// The problems of one run, gathered rather than shown one box each: a scan
// of a large collection may meet hundreds of damaged files, and a box per
// file would stop the run at each. Messages about one file become one entry
// of one line: the file, then what was wrong with it. Free of Qt, so the
// entries are tested without a window.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace kestrel {

// A message on one line: its line breaks and the spaces around them become
// one space, and a heading ending with ':' before a subject reads
// "heading: subject".
std::string CompactMessage(const std::string& message);

class ProblemList {
 public:
  // Adds a message. A message about the same file as the entry before it
  // (the line after its heading names the file) joins that entry; a message
  // given before is not added again.
  void Add(const std::string& message);
  bool empty() const { return entries_.empty(); }
  const std::vector<std::string>& entries() const { return entries_; }
  // Hands the entries over and starts a new list.
  std::vector<std::string> Take();

 private:
  std::vector<std::string> entries_;  // one line each
  std::string lastSubject_;           // the file the last entry is about; "" for none
  std::unordered_set<std::string> seen_;  // messages added, to drop repeats
};

}  // namespace kestrel
