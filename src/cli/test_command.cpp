#include "cli/test_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/exit_status.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "report/archive_integrity.h"

namespace kestrel {

void AddTestOptions(CLI::App& command, TestOptions& options) {
  command.add_option("paths", options.paths, "Zips, 7z archives, CHDs and folders to check (folders with everything below)")
      ->required()
      ->check(CLI::ExistingPath);
}

int RunTestCommand(const TestOptions& options) {
  FileSystem& fs = RealFileSystem();
  for (const std::string& path : options.paths) {
    if (fs.FolderExists(path) || IsCheckedArchive(path)) continue;
    std::fprintf(stderr, "%s is neither a folder nor a zip, 7z or CHD\n", path.c_str());
    return kExitRefused;
  }
  IntegrityReport report;
  for (const std::string& path : options.paths) CheckArchives(fs, AbsolutePath(path), report);
  for (const ArchiveDamage& damage : report.damaged)
    std::printf("damaged: %s: %s\n", damage.path.c_str(), damage.reason.c_str());
  // 7z archives are named only where there were some, as most collections hold none.
  std::string sevenZips = report.sevenZips > 0 ? ", 7z archives: " + std::to_string(report.sevenZips) : "";
  std::printf("Zips checked: %d%s (%d members), CHDs checked: %d, damaged: %zu\n", report.zips, sevenZips.c_str(),
              report.members, report.chds, report.damaged.size());
  return report.damaged.empty() ? kExitDone : kExitFindings;
}

}  // namespace kestrel
