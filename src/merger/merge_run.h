// The state one merger run shares between its steps: what it works on, the
// progress dialog, the zips listed so far and whether the user asked to
// cancel.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/user_interface.h"
#include "archive/zip_entry.h"
#include "archive/zip_library.h"
#include "archive/zip_problem.h"
#include "gamedb/game_set.h"
#include "merger/set_content.h"
#include "merger/set_locator.h"
#include "platform/file_system.h"
#include "settings/settings_record.h"

namespace kestrel {

// How a step ends: go on, or end the run (the user said so, or the disk
// is full).
enum class StepResult { kContinue, kStop };

struct MergeRun {
  MergeRun(const GameList& games, const SettingsRecord& options, std::vector<std::string> folders, UserInterface* owner,
           ZipLibrary& zip, FileSystem& disk, ProgressDialog& dialog)
      : database(games),
        settings(options),
        romPaths(std::move(folders)),
        ui(owner),
        zipLibrary(zip),
        fs(disk),
        progress(dialog),
        sets(disk) {}

  const GameList& database;
  const SettingsRecord& settings;
  // The enabled ROM paths, each ending with '/', in their search order.
  const std::vector<std::string> romPaths;
  UserInterface* ui;
  ZipLibrary& zipLibrary;
  // Every file the run reads or changes is reached through this.
  FileSystem& fs;
  ProgressDialog& progress;

  // The sets in the folders the run looks at.
  SetLocator sets;
  // The members of every zip listed for the current family, by its path;
  // nullopt for a zip that cannot be read. The list is dropped after each
  // family, whose commit may change the zips listed. (A BIOS set, which
  // many families read, is thus listed once per family using it.)
  std::map<std::string, std::optional<ZipEntryList>> zipListings;
  // For each zip of zipListings looked into by name: its members' indexes by
  // lowered file name, each name's in directory order. A set's files are
  // looked up one by one; going through the listing for each would cost the
  // square of the set's size. Dropped with zipListings.
  std::map<std::string, std::unordered_map<std::string, std::vector<size_t>>> zipMembersByName;
  // The size and CRC-32 of every loose file read for the current family, by
  // its path; nullopt for one that cannot be read. Dropped with zipListings.
  std::map<std::string, std::optional<Content>> looseContents;
  // The damaged zips the user was told of: each once per run, however many
  // families read it.
  ZipProblemNotices zipProblems;

  // Forgets what was read of the previous family's files.
  void StartFamily() {
    sets.NextRound();
    zipListings.clear();
    zipMembersByName.clear();
    looseContents.clear();
  }

  // Lets the progress dialog redraw and notice Cancel, about 20 times a
  // second; a cancel is remembered until the current family is done.
  void Pump();
  // Pumps once more and answers whether the user cancelled.
  bool CancelRequested();

 private:
  bool cancelled_ = false;
  std::chrono::steady_clock::time_point lastPump_{};
};

// The message box the merger's errors share.
inline constexpr char kMergingErrorTitle[] = "(Un-)Merging-Error";

}  // namespace kestrel
