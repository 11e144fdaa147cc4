// Why a zip could not be read, as the reader and the extractor return it,
// and the telling of it to the user.
//
// The archive code never shows a message: it describes the fault, and the
// tool that asked decides whether the user hears of it. A collection may
// hold a damaged zip that every set check, repair and listing reads again,
// so a tool tells of each zip once per run.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace kestrel {

class UserInterface;

enum class ZipFault {
  kNone,               // read fine, or could not be opened or read at all
  kBadLocalEntry,      // a member's local header is damaged or out of place
  kBadCentralEntry,    // the central directory is damaged or disagrees
  kBadEndRecord,       // the end-of-central-directory record is missing
  kUnsupportedMethod,  // a member is compressed by a method not understood
};

struct ZipProblem {
  ZipFault fault = ZipFault::kNone;
  std::string path;  // the zip, as it was asked for
};

// The message boxes that explain `problem`, in the order they are shown;
// none for kNone.
std::vector<std::string> ZipProblemMessages(const ZipProblem& problem);

// The zips the user has been told of in one run.
class ZipProblemNotices {
 public:
  // Shows the problem's messages through `ui` (a null `ui` shows nothing),
  // unless nothing is wrong or this zip was told of before in this run.
  void Tell(UserInterface* ui, const ZipProblem& problem);

 private:
  std::set<std::string> toldPaths_;
};

}  // namespace kestrel
