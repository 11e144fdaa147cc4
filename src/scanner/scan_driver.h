// The scan: every selected game's sets in every ROM and sample path, checked
// and (where a fix is on) repaired, its findings left in the scan results
// and turned into result lines. Used by the scanner dialog and the
// command line alike.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gamedb/game_set.h"
#include "gamedb/romless_machines.h"
#include "platform/file_system.h"
#include "report/results_model.h"
#include "report/scan_statistics.h"
#include "report/scan_results.h"

namespace kestrel {

struct SettingsRecord;
struct ZipLibrary;
class UserInterface;

struct ScanRequest {
  // Scan only the games the fastscan file names, with its options.
  bool fastscan = false;
  // The data CRC of the game data (LoadedData::dataCrc): a fastscan file
  // is read and written for these data only.
  uint32_t dataCrc = 0;
  // The program's own folder: never scanned, never reported.
  std::string dataFolder;
  // Needed to add files to zips (0-CRC stand-ins and the repairs); without
  // it such additions fail.
  ZipLibrary* zipLibrary = nullptr;
  // Show the statistics to the owner at the end; the command line prints
  // them itself.
  bool showStatistics = true;
  // How long a ROM resize searches before it asks "Timeout !".
  int resizeQuestionMilliseconds = 5000;
  // The disk the scan and its repairs reach; tests hand in a failing one.
  // (A reference that can be set like the other fields.)
  std::reference_wrapper<FileSystem> fs = RealFileSystem();
  // Write the fastscan file at the end; a dry run leaves it as it is.
  bool saveFastscan = true;
  // The machines the list gives no ROMs of their own (LoadedData::romless):
  // the zips MAME reads for them are left alone.
  const RomlessMachines* romless = nullptr;
};

struct ScanOutcome {
  // Ended before anything was touched: a path warning was cancelled, the
  // fastscan file was refused, or the backup warning was declined.
  bool refused = false;
  // The main scan went through every game; only then is the fastscan file
  // written.
  bool ranToEnd = false;
  ScanStatistics statistics;
  // With "\n" line ends, as the logfile takes it.
  std::string statisticsText;
};

// Runs a full scan or a fastscan. A fastscan may change the scan options of
// `settings` to those the fastscan file was written with. `scanResults` is
// given one record per game of `database` and receives the findings; a
// refused scan leaves the last scan's findings in it.
ScanOutcome RunScan(GameList& database, ScanResults& scanResults, SettingsRecord& settings,
                    UserInterface* owner, ResultsModel& results, const ScanRequest& request);

}  // namespace kestrel
