#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <cstdio>

#include "app/user_interface.h"
#include "cli/console_interface.h"
#include "cli/data_options.h"
#include "cli/dir2dat_command.h"
#include "cli/exit_status.h"
#include "cli/history_command.h"
#include "cli/info_command.h"
#include "cli/merge_command.h"
#include "cli/profile_command.h"
#include "cli/rebuild_command.h"
#include "cli/run_journal.h"
#include "cli/scan_command.h"
#include "cli/software_lists.h"
#include "cli/test_command.h"
#include "cli/undo_command.h"
#include "cli/why_command.h"
#include "settings/software_lists.h"

namespace kestrel {
namespace {

// Each command once per software list given (once when none is): the
// list's sets, and the sets a rebuild or merge writes, lie in a folder of
// the list's name.
int RunScanPerList(const ScanOptions& options, bool fastscan, UserInterface& ui) {
  return RunPerSoftwareList(options.data, [&](const DataOptions& data) {
    ScanOptions one = options;
    one.data = data;
    one.logfile = WithListName(options.logfile, data.listFolder);
    one.fastscanFile = WithListName(options.fastscanFile, data.listFolder);
    one.outputs.fixdat = WithListName(options.outputs.fixdat, data.listFolder);
    one.outputs.report = WithListName(options.outputs.report, data.listFolder);
    return RunScanCommand(one, fastscan, ui);
  });
}

int RunRebuildPerList(const RebuildOptions& options, UserInterface& ui) {
  return RunPerSoftwareList(options.data, [&](const DataOptions& data) {
    RebuildOptions one = options;
    one.data = data;
    one.destination = InListFolder(options.destination, data.listFolder);
    one.logfile = WithListName(options.logfile, data.listFolder);
    return RunRebuildCommand(one, ui);
  });
}

int RunMergePerList(const MergeOptions& options, SetLayout layout, UserInterface& ui) {
  return RunPerSoftwareList(options.data, [&](const DataOptions& data) {
    MergeOptions one = options;
    one.data = data;
    one.destination = InListFolder(options.destination, data.listFolder);
    return RunMergeCommand(one, layout, ui);
  });
}

}  // namespace

int RunCommandLine(int argc, char** argv) {
  CLI::App app{"Kestrel keeps arcade ROM sets in order"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "kestrel-cli " KESTREL_VERSION);
  std::string answer = "ask";
  app.add_option("--answer", answer, "How to answer questions: ask, yes, no, yes-to-all, no-to-all, stop");

  DataOptions infoOptions;
  CLI::App* info = app.add_subcommand("info", "Load and validate the game data, print its counts");
  AddDataOptions(*info, infoOptions);

  DataOptions profileOptions;
  CLI::App* profile = app.add_subcommand("profile", "Show or write a profile file");
  profile->require_subcommand(1);
  CLI::App* profileShow = profile->add_subcommand("show", "Print every stored field of a profile");
  AddProfileOnlyOption(*profileShow, profileOptions);
  profileShow->get_option("--profile")->required();
  ProfileSaveOptions profileSaveOptions;
  CLI::App* profileSave = profile->add_subcommand("save", "Write a profile from the defaults and the given options");
  AddProfileSaveOptions(*profileSave, profileSaveOptions);
  profileSave->get_option("--profile")->required();

  ScanOptions scanOptions;
  CLI::App* scan = app.add_subcommand("scan", "Scan the ROM and sample paths and report the findings");
  AddScanOptions(*scan, scanOptions);
  AddVerdictsOption(*scan, scanOptions);
  AddNoUndoOption(*scan, scanOptions.noUndo);
  AddScanOutputOptions(*scan, scanOptions.outputs);
  CLI::App* fastscan = app.add_subcommand("fastscan", "Scan again only the games the last scan found faults in");
  ScanOptions fastscanOptions;
  AddScanOptions(*fastscan, fastscanOptions);
  AddVerdictsOption(*fastscan, fastscanOptions);
  AddNoUndoOption(*fastscan, fastscanOptions.noUndo);
  RebuildOptions rebuildOptions;
  CLI::App* rebuild = app.add_subcommand("rebuild", "Build sets in a destination folder from arbitrary files by CRC-32");
  AddRebuildOptions(*rebuild, rebuildOptions);
  AddNoUndoOption(*rebuild, rebuildOptions.noUndo);

  MergeOptions mergeOptions, splitOptions, unmergeOptions;
  CLI::App* merge = app.add_subcommand("merge", "Merge every selected family into one set named after the parent");
  AddMergeOptions(*merge, mergeOptions);
  CLI::App* split = app.add_subcommand("split", "Split every selected family: clone sets hold only what the parent lacks");
  AddMergeOptions(*split, splitOptions);
  CLI::App* unmerge = app.add_subcommand("unmerge", "Unmerge every selected family: every clone set holds all its ROMs");
  AddMergeOptions(*unmerge, unmergeOptions);
  unmerge->add_flag("--full", unmergeOptions.full, "Full non-merged: every set also holds its BIOS and device ROMs");
  AddNoUndoOption(*merge, mergeOptions.noUndo);
  AddNoUndoOption(*split, splitOptions.noUndo);
  AddNoUndoOption(*unmerge, unmergeOptions.noUndo);

  TestOptions testOptions;
  CLI::App* test = app.add_subcommand("test", "Decode every zip member and read every CHD header; name each damaged archive");
  AddTestOptions(*test, testOptions);

  Dir2datOptions dir2datOptions;
  CLI::App* dir2dat = app.add_subcommand("dir2dat", "Write a Logiqx datfile of the sets (zips and folders) in folders");
  AddDir2datOptions(*dir2dat, dir2datOptions);

  WhyOptions whyOptions;
  CLI::App* why = app.add_subcommand("why", "For each missing or wrong ROM of a set, the files seen and why each was not taken");
  AddWhyOptions(*why, whyOptions);

  UndoOptions undoOptions;
  CLI::App* undo = app.add_subcommand("undo", "Revert a run (the last by default) from its undo journal");
  AddUndoOptions(*undo, undoOptions);
  HistoryOptions historyOptions;
  CLI::App* history = app.add_subcommand("history", "List the runs that can be undone, or one run's changes");
  AddHistoryOptions(*history, historyOptions);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    // --help and --version end here too, as successes; every other reason
    // (an unknown option, a missing value) is a refusal, whatever code the
    // parser gives it.
    return app.exit(error) == 0 ? kExitDone : kExitRefused;
  }

  AnswerPolicy policy;
  if (!ParseAnswerPolicy(answer, &policy)) {
    std::fprintf(stderr, "Unknown --answer '%s'\n", answer.c_str());
    return kExitRefused;
  }
  ConsoleInterface ui(policy);
  int status = kExitDone;
  if (info->parsed()) {
    status = RunPerSoftwareList(infoOptions, [&](const DataOptions& data) { return RunInfoCommand(data, ui); });
  }
  if (profileShow->parsed()) status = ShowProfile(profileOptions.profile);
  if (profileSave->parsed()) status = SaveProfileFromOptions(profileSaveOptions, ui);
  if (scan->parsed()) status = RunScanPerList(scanOptions, false, ui);
  if (fastscan->parsed()) status = RunScanPerList(fastscanOptions, true, ui);
  if (rebuild->parsed()) status = RunRebuildPerList(rebuildOptions, ui);
  if (merge->parsed()) status = RunMergePerList(mergeOptions, SetLayout::kMerged, ui);
  if (split->parsed()) status = RunMergePerList(splitOptions, SetLayout::kSplit, ui);
  if (unmerge->parsed())
    status = RunMergePerList(unmergeOptions, unmergeOptions.full ? SetLayout::kFullNonMerged : SetLayout::kNonMerged, ui);
  if (test->parsed()) status = RunTestCommand(testOptions);
  if (dir2dat->parsed()) status = RunDir2datCommand(dir2datOptions);
  if (why->parsed()) status = RunWhyCommand(whyOptions, ui);
  if (undo->parsed()) status = RunUndoCommand(undoOptions);
  if (history->parsed()) status = RunHistoryCommand(historyOptions);
  return status;
}

}  // namespace kestrel
