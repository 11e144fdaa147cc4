// Everything a set check needs to reach: the database, the options, the
// per-scan state and the window that answers questions.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "archive/zip_problem.h"
#include "archive/zip_reader.h"
#include "gamedb/game_set.h"
#include "gamedb/romless_machines.h"
#include "platform/file_system.h"
#include "platform/folder_index.h"
#include "scanner/add_path_contents.h"
#include "scanner/scan_state.h"

namespace kestrel {

class SetReadAhead;
struct SettingsRecord;
struct ZipLibrary;
class UserInterface;

struct ScanContext {
  GameList& database;
  const SettingsRecord& settings;
  ScanState& state;
  UserInterface* owner = nullptr;
  ZipLibrary* zipLibrary = nullptr;  // null: nothing can be added to a zip
  std::string dataFolder;            // the program's own folder, never scanned
  std::vector<std::string> romPaths;     // enabled ROM paths, each ending with '/'
  std::vector<std::string> samplePaths;  // enabled sample paths, likewise
  FolderIndex folders;                   // what lies in those paths
  // How strictly the collection's zips are read (the zip library's check).
  ZipHeaderCheck zipHeaderCheck = ZipHeaderCheck::kLocalHeaders;
  // How long a ROM resize searches before it asks whether to go on.
  int resizeQuestionMilliseconds = 5000;
  // What lies in each add path, by path, as far as the add-missing fix
  // has read it.
  std::map<std::string, AddPathContents> addPathContents{};
  // The damaged zips the user was told of: a set's zip is read again after
  // every repair, and the user hears of it once per scan.
  ZipProblemNotices zipProblems{};
  // The games that take samples from a sample set of another name, by
  // that name lowered (`genpin`, or a game's like `invaders`).
  std::map<std::string, std::vector<const GameSet*>> sampleSetUsers{};
  // The sets of machines the list gives no ROMs of their own that MAME
  // still reads: a machine's device ROMs may lie in its own zip, a clone's
  // in the zip of a parent without ROMs (`famicom`). They are no game's
  // set, yet never unknown when spelled as listed (MAME opens no other
  // spelling; another one stays unknown, so a fix renames it).
  std::unordered_set<std::string> romlessSetsRead{};
  // The zip directories of the next games, read on another core; null
  // when the scan reads every zip itself.
  const SetReadAhead* readAhead = nullptr;
  // Every file the scan and its repairs read or change is reached through
  // this; `folders` lists through it too.
  FileSystem& fs = RealFileSystem();
};

// Tells the user of a damaged zip, once per scan.
void TellZipProblem(ScanContext& context, const ZipProblem& problem);

// Lets the progress dialog handle its events; a Cancel pressed meanwhile is
// kept for the driver.
void PumpInterface(ScanContext& context);

// Switches the progress dialog's caption around a repair.
void ShowFixingCaption(ScanContext& context);
void ShowScanningCaption(ScanContext& context);

// Fills `sampleSetUsers` from the database.
void IndexSampleSetUsers(ScanContext& context);

// Fills `romlessSetsRead`: the parents the database's games name that it
// keeps no set for, and the machines of `romless` that take ROMs from a
// device set of the database.
void IndexRomlessSetsRead(ScanContext& context, const RomlessMachines& romless);

// The parent of a clone, or null.
const GameSet* ParentOf(const ScanContext& context, const GameSet& game);

}  // namespace kestrel
