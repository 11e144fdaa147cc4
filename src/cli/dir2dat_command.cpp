#include "cli/dir2dat_command.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/exit_status.h"
#include "cli/output_file.h"
#include "platform/paths.h"
#include "report/folder_datfile.h"

namespace kestrel {
namespace {

size_t CountRoms(const std::vector<DatGame>& games) {
  size_t roms = 0;
  for (const DatGame& game : games) roms += game.roms.size();
  return roms;
}

size_t CountDisks(const std::vector<DatGame>& games) {
  size_t disks = 0;
  for (const DatGame& game : games) disks += game.disks.size();
  return disks;
}

}  // namespace

void AddDir2datOptions(CLI::App& command, Dir2datOptions& options) {
  command.add_option("folders", options.folders, "Folders whose zips and folders are the sets")
      ->required()
      ->check(CLI::ExistingDirectory);
  command.add_option("--out", options.out, "The datfile to write")->required();
  command.add_option("--name", options.title, "The datfile's name in its header (default \"Kestrel dir2dat\")");
}

int RunDir2datCommand(const Dir2datOptions& options) {
  if (!CheckOutputFile("--out", options.out)) return kExitRefused;
  std::vector<std::string> folders;
  for (const std::string& folder : options.folders) folders.push_back(AbsolutePath(folder));
  std::vector<ArchiveDamage> problems;
  const std::vector<DatGame> games = DescribeFolderSets(RealFileSystem(), folders, problems);
  for (const ArchiveDamage& problem : problems)
    std::printf("problem: %s: %s\n", problem.path.c_str(), problem.reason.c_str());
  std::printf("Sets: %zu, ROMs: %zu, disks: %zu, problems: %zu\n", games.size(), CountRoms(games),
              CountDisks(games), problems.size());
  if (games.empty()) {
    std::fputs("No set found in the folders: nothing written\n", stderr);
    return kExitFindings;
  }
  if (!WriteOutputFile("Datfile", options.out, RenderLogiqxDatfile(options.title, games))) return kExitFindings;
  return problems.empty() ? kExitDone : kExitFindings;
}

}  // namespace kestrel
