#include "undo/journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <ctime>
#include <fstream>
#include <sstream>

namespace kestrel {
namespace {

const char kFirstLine[] = "kestrel undo journal 1";

const char* const kActionWords[] = {"create", "replace", "rename", "delete", "mkdir", "rmdir", "writable"};

// A tab, a line end or a backslash in a path would break the line apart.
std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::string Unescaped(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char code = text[++i];
    out += code == 't' ? '\t' : code == 'n' ? '\n' : code;
  }
  return out;
}

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream stream(line);
  for (std::string field; std::getline(stream, field, '\t');) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

std::optional<JournalAction> ParseAction(const std::string& word) {
  for (size_t i = 0; i < std::size(kActionWords); ++i)
    if (word == kActionWords[i]) return static_cast<JournalAction>(i);
  return std::nullopt;
}

std::string EntryLine(const JournalEntry& entry) {
  return std::string(kActionWords[static_cast<int>(entry.action)]) + '\t' + Escaped(entry.path) + '\t' +
         Escaped(entry.target) + '\t' + (entry.oldContent ? IdentityText(*entry.oldContent) : "") + '\t' +
         Escaped(entry.saved) + '\t' + (entry.newContent ? IdentityText(*entry.newContent) : "");
}

// False for a damaged line: the journal is then not trusted at all.
bool ParseEntry(const std::vector<std::string>& fields, JournalEntry& entry) {
  std::optional<JournalAction> action = ParseAction(fields[0]);
  if (!action || fields.size() != 6) return false;
  entry.action = *action;
  entry.path = Unescaped(fields[1]);
  entry.target = Unescaped(fields[2]);
  entry.saved = Unescaped(fields[4]);
  if (!fields[3].empty() && !(entry.oldContent = ParseIdentity(fields[3]))) return false;
  if (!fields[5].empty() && !(entry.newContent = ParseIdentity(fields[5]))) return false;
  return !entry.path.empty();
}

}  // namespace

JournalWriter::~JournalWriter() {
  if (fd_ >= 0) ::close(fd_);
}

bool JournalWriter::Create(const std::string& path, const std::string& command) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0666);
  return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0 && WriteLine(kFirstLine) && WriteLine("command\t" + Escaped(command)) &&
         WriteLine("started\t" + JournalTime());
}

bool JournalWriter::OpenToAppend(const std::string& path) {
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  return fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

bool JournalWriter::Append(const JournalEntry& entry, bool sync) { return WriteLine(EntryLine(entry), sync); }

bool JournalWriter::AppendMark(const std::string& mark) { return WriteLine(mark + '\t' + JournalTime()); }

// One write per line, so that a stop can only cut off the last one.
bool JournalWriter::WriteLine(const std::string& line, bool sync) {
  if (fd_ < 0) return false;
  const std::string whole = line + '\n';
  return ::write(fd_, whole.data(), whole.size()) == static_cast<ssize_t>(whole.size()) &&
         (!sync || ::fdatasync(fd_) == 0);
}

std::optional<Journal> ReadJournal(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::string all = text.str();
  if (!file || all.rfind(std::string(kFirstLine) + '\n', 0) != 0) return std::nullopt;
  all.erase(all.find_last_of('\n') + 1);  // a line cut off by a stop
  Journal journal;
  std::istringstream lines(all.substr(sizeof kFirstLine));
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields = SplitFields(line);
    if (fields.empty()) return std::nullopt;
    const std::string& word = fields[0];
    const std::string value = fields.size() > 1 ? Unescaped(fields[1]) : "";
    if (word == "command") journal.command = value;
    else if (word == "started") journal.started = value;
    else if (word == "end") journal.ended = true;
    else if (word == "undone") journal.undone = true;
    else if (JournalEntry entry; ParseEntry(fields, entry)) journal.entries.push_back(entry);
    else return std::nullopt;
  }
  return journal;
}

std::string JournalTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

}  // namespace kestrel
