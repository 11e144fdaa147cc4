#include "cli/scan_outputs.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/output_file.h"
#include "report/findings_table.h"
#include "report/fixdat.h"

namespace kestrel {
namespace {

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
  return (files.fixdat.empty() || CheckOutputFile("--fixdat", files.fixdat)) &&
         (files.report.empty() || CheckOutputFile("--report", files.report));
}

bool WriteScanOutputFiles(const ScanOutputFiles& files, const GameList& database, const ScanResults& scanResults,
                          const SettingsRecord& settings, const ResultsModel& results,
                          const std::string& statisticsText) {
  bool written = true;
  if (!files.fixdat.empty())
    written = WriteOutputFile("Fixdat", files.fixdat, FixdatText(database, scanResults, settings)) && written;
  if (!files.report.empty()) {
    const bool csv = TableFormatOf(files.report) == TableFormat::kCsv;
    written = WriteOutputFile("Report", files.report, [&](const PieceWriter& write) {
                return csv ? WriteFindingsCsv(results, statisticsText, write)
                           : WriteFindingsJson(results, statisticsText, write);
              }) && written;
  }
  return written;
}

}  // namespace kestrel
