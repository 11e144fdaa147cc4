#include "cli/scan_report.h"

#include "report/scanner_log.h"

namespace kestrel {

void PrintScanReport(const ResultsModel& results, const std::string& statisticsText, std::FILE* out) {
  std::string report = HasResultLines(results) ? RenderScannerLog(results, true, statisticsText)
                                               : "----------\n" + statisticsText;
  if (!report.empty() && report.back() != '\n') report += '\n';
  std::fputs(report.c_str(), out);
}

bool HasResultLines(const ResultsModel& results) { return !results.items.empty(); }

}  // namespace kestrel
