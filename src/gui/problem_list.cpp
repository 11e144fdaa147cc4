#include "gui/problem_list.h"

#include <sstream>

namespace kestrel {
namespace {

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::vector<std::string> NonEmptyLines(const std::string& message) {
  std::vector<std::string> lines;
  std::istringstream stream(message);
  for (std::string line; std::getline(stream, line);) {
    if (std::string trimmed = Trimmed(line); !trimmed.empty()) lines.push_back(std::move(trimmed));
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines, size_t first) {
  std::string text;
  for (size_t i = first; i < lines.size(); ++i) text += (text.empty() ? "" : " ") + lines[i];
  return text;
}

// The file a message of the form "Heading:\n\n/path\n\n..." is about; ""
// for a message of another form (a heading with its reason on the next
// line names no file).
std::string SubjectOf(const std::string& message, const std::vector<std::string>& lines) {
  const size_t firstBreak = message.find('\n');
  if (lines.size() < 2 || firstBreak == 0 || message.compare(firstBreak - 1, 3, ":\n\n") != 0) return "";
  return lines[1];
}

}  // namespace

std::string CompactMessage(const std::string& message) { return Joined(NonEmptyLines(message), 0); }

void ProblemList::Add(const std::string& message) {
  if (!seen_.insert(message).second) return;
  const std::vector<std::string> lines = NonEmptyLines(message);
  if (lines.empty()) return;
  const std::string subject = SubjectOf(message, lines);
  if (subject.empty()) {
    entries_.push_back(Joined(lines, 0));
    lastSubject_.clear();
    return;
  }
  // "Corrupt Zipfile:" becomes "Corrupt Zipfile", a reason after the file.
  std::string heading = lines[0].substr(0, lines[0].size() - 1);
  if (std::string rest = Joined(lines, 2); !rest.empty()) heading += " (" + rest + ")";
  if (!entries_.empty() && subject == lastSubject_) {
    entries_.back() += "; " + heading;
    return;
  }
  entries_.push_back(subject + ": " + heading);
  lastSubject_ = subject;
}

std::vector<std::string> ProblemList::Take() {
  std::vector<std::string> taken = std::move(entries_);
  entries_.clear();
  seen_.clear();
  lastSubject_.clear();
  return taken;
}

}  // namespace kestrel
