#include "report/scanner_log.h"

#include "app/user_interface.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"

namespace kestrel {

std::string RenderScannerLog(const ResultsModel& results, bool addStatistics,
                             const std::string& statisticsText) {
  std::string log;
  if (results.items.empty()) return log;
  for (size_t i = 0; i < results.items.size(); ++i) {
    const ResultTreeItem& item = results.items[i];
    if (i > 0) log += '\n';
    log += item.text + '\n';
    for (const ResultTreeItem& child : item.children) log += child.text + '\n';
  }
  if (addStatistics) log += "\n----------\n" + statisticsText;
  return log;
}

bool WriteScannerLog(const std::string& path, const ResultsModel& results, bool addStatistics,
                     const std::string& statisticsText) {
  // A read-only logfile is the user's way of keeping it; replacing the file
  // through a rename would ignore that.
  if (path.empty() || FolderExists(path) || (FileExists(path) && IsReadOnly(path))) return false;
  return ReplaceFile(path, RenderScannerLog(results, addStatistics, statisticsText));
}

bool SaveScannerLog(const std::string& path, const ResultsModel& results, bool addStatistics,
                    const std::string& statisticsText, UserInterface* owner) {
  if (results.items.empty()) return true;
  if (WriteScannerLog(path, results, addStatistics, statisticsText)) {
    ShowMessage(owner, "Logfile saved successfully !", "Logfile Saved",
                {MessageButtons::kOk, MessageIcon::kInformation});
    return true;
  }
  ShowMessage(owner, "Error while saving logfile !", "Logfile Error",
              {MessageButtons::kOk, MessageIcon::kExclamation});
  return false;
}

}  // namespace kestrel
