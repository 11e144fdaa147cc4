#include "archive/zip_problem.h"

#include "app/user_interface.h"

namespace kestrel {
namespace {

std::string CorruptZipMessage(const std::string& path, const char* reason) {
  return "Corrupt Zipfile:\n\n" + path + "\n\nPlease rezip this file with a common zip-program.\n\nReason: " +
         reason;
}

}  // namespace

std::vector<std::string> ZipProblemMessages(const ZipProblem& problem) {
  switch (problem.fault) {
    case ZipFault::kNone:
      return {};
    case ZipFault::kBadLocalEntry:
      return {"Unsupported Zipformat In File:\n\n" + problem.path,
              CorruptZipMessage(problem.path, "BAD LOCAL FILE ENTRY")};
    case ZipFault::kBadCentralEntry:
      return {CorruptZipMessage(problem.path, "BAD CENTRAL DIR ENTRY")};
    case ZipFault::kBadEndRecord:
      return {CorruptZipMessage(problem.path, "BAD END-OF-CENTRAL-DIR ENTRY")};
    case ZipFault::kUnsupportedMethod:
      return {"Unsupported Compressionmethod In File:\n\n" + problem.path};
  }
  return {};
}

void ZipProblemNotices::Tell(UserInterface* ui, const ZipProblem& problem) {
  if (problem.fault == ZipFault::kNone || !toldPaths_.insert(problem.path).second) return;
  for (const std::string& text : ZipProblemMessages(problem)) {
    ShowMessage(ui, text, "Kestrel", {MessageButtons::kOk, MessageIcon::kExclamation});
  }
}

}  // namespace kestrel
