#include "cli/scan_outputs.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "report/findings_table.h"
#include "report/fixdat.h"

namespace kestrel {
namespace {

// Why `path` cannot take a new file; empty when it can.
std::string UnwritableReason(const std::string& path) {
  if (FolderExists(path)) return "is a folder";
  if (FileExists(path) && IsReadOnly(path)) return "is read-only";
  const std::string folder = FolderPart(AbsolutePath(path));
  if (!folder.empty() && !FolderExists(folder)) return "is in a folder that does not exist";
  return {};
}

bool CheckOutputPath(const char* option, const std::string& path) {
  if (path.empty()) return true;
  const std::string reason = UnwritableReason(path);
  if (reason.empty()) return true;
  std::fprintf(stderr, "%s %s %s\n", option, path.c_str(), reason.c_str());
  return false;
}

bool WriteOutput(const char* what, const std::string& path, const std::string& text) {
  if (ReplaceFile(AbsolutePath(path), text)) {
    std::fprintf(stderr, "%s written: %s\n", what, path.c_str());
    return true;
  }
  std::fprintf(stderr, "%s not written: %s could not be replaced\n", what, path.c_str());
  return false;
}

std::string FixdatText(const GameList& database, const ScanResults& scanResults, const SettingsRecord& settings) {
  return RenderLogiqxDatfile("Kestrel fixdat", BuildFixdat(database, scanResults, settings));
}

}  // namespace

void AddScanOutputOptions(CLI::App& command, ScanOutputFiles& files) {
  command.add_option("--fixdat", files.fixdat, "Write a Logiqx datfile of every ROM and disk the collection lacks");
  command.add_option("--report", files.report, "Write the findings and statistics as FILE.csv or FILE.json");
}

bool CheckScanOutputFiles(const ScanOutputFiles& files) {
  if (!files.report.empty() && !TableFormatOf(files.report)) {
    std::fprintf(stderr, "--report %s: the name must end in .csv or .json\n", files.report.c_str());
    return false;
  }
  return CheckOutputPath("--fixdat", files.fixdat) && CheckOutputPath("--report", files.report);
}

bool WriteScanOutputFiles(const ScanOutputFiles& files, const GameList& database, const ScanResults& scanResults,
                          const SettingsRecord& settings, const ResultsModel& results,
                          const std::string& statisticsText) {
  bool written = true;
  if (!files.fixdat.empty())
    written = WriteOutput("Fixdat", files.fixdat, FixdatText(database, scanResults, settings)) && written;
  if (!files.report.empty()) {
    const std::string text = TableFormatOf(files.report) == TableFormat::kCsv
                                 ? RenderFindingsCsv(results, statisticsText)
                                 : RenderFindingsJson(results, statisticsText);
    written = WriteOutput("Report", files.report, text) && written;
  }
  return written;
}

}  // namespace kestrel
