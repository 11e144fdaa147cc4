// The undo journal of one run: a text file, one line per change, written
// and brought to the disk before the change is made, so that whatever a run
// did before it was stopped is on record. A line names the change, the
// paths as the disk spells them, the identity of the content the change
// moves away and where that content now is (a file in the run's store),
// and the identity of the content it puts in place.
//
//   kestrel undo journal 1
//   command<TAB>scan
//   started<TAB>2026-12-07 19:43:00
//   delete<TAB>PATH<TAB><TAB>OLD IDENTITY<TAB>STORE MEMBER<TAB>
//   ...
//   end<TAB>2026-12-07 19:43:05           (the run reached its end)
//   undone<TAB>2026-12-07 19:50:12        (an undo reverted it)
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "undo/content_identity.h"

namespace kestrel {

enum class JournalAction {
  kCreate,        // a new file at `path` (a tool's file being written)
  kReplace,       // the file `path` moved over `target`; `target`'s old content saved
  kRename,        // the file or folder `path` renamed to `target`
  kDelete,        // the file `path` deleted; its content saved
  kCreateFolder,  // a new folder `path`
  kRemoveFolder,  // the empty folder `path` removed
  kMakeWritable,  // the read-only file `path` made writable
};

struct JournalEntry {
  JournalAction action = JournalAction::kCreate;
  std::string path;    // as the disk spells it
  std::string target;  // kReplace, kRename: where the entry went
  // kReplace (when `target` existed), kDelete: the content that went away,
  // and the member of the run's store that holds it ("" when none: a
  // symbolic link, kept without content).
  std::optional<ContentIdentity> oldContent;
  std::string saved;
  // kReplace, kRename of a file: the content now at `target`.
  std::optional<ContentIdentity> newContent;
};

struct Journal {
  std::string command;  // the command that made the run: "scan", "rebuild", ...
  std::string started;  // local time, "YYYY-MM-DD HH:MM:SS"
  bool ended = false;   // false: the run was stopped before its end
  bool undone = false;
  std::vector<JournalEntry> entries;  // in the order the changes were made
};

// Appends to one run's journal; a line reaches the disk before the call
// returns, unless the caller says it need not: a line written unsynced
// reaches the disk with the next synced one, and a kill of the process
// does not lose it either. Not for use from several threads at once.
class JournalWriter {
 public:
  JournalWriter() = default;
  ~JournalWriter();
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Creates the journal `path` (it must not exist) with its header lines.
  // The writer holds the journal's lock while it is open: no undo of the
  // run can start while the run goes on.
  bool Create(const std::string& path, const std::string& command);
  // Opens an existing journal to add a line at its end, with its lock;
  // false when it cannot be opened or another process holds the lock (the
  // run is still going, or another undo of it is).
  bool OpenToAppend(const std::string& path);
  bool Append(const JournalEntry& entry, bool sync = true);
  // "end" or "undone", with the time.
  bool AppendMark(const std::string& mark);

 private:
  bool WriteLine(const std::string& line, bool sync = true);
  int fd_ = -1;
};

// The journal at `path`; nullopt when it cannot be read or is no journal.
// A last line without its line end (the run stopped while writing it)
// describes no change that was made, and is left out.
std::optional<Journal> ReadJournal(const std::string& path);

// The local time as the journal writes it.
std::string JournalTime();

}  // namespace kestrel
