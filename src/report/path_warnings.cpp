#include "report/path_warnings.h"

#include <string>
#include <unordered_set>

#include "app/user_interface.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

using NameSet = std::unordered_set<std::string>;

// Lower-cased names of the sets that hold ROMs (or samples): only those
// make a path look right.
NameSet SetNames(const GameList& database, bool samples) {
  NameSet names;
  for (const GameSet& game : database) {
    if (samples ? !game.samples.empty() : !game.roms.empty()) names.insert(ToLowerAscii(game.name));
    // A shared sample set (`genpin`) is a known set of a sample path too.
    if (samples && game.hasSampleOf) names.insert(ToLowerAscii(game.sampleOf));
  }
  return names;
}

std::string Title(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

bool HoldsKnownSet(const std::string& path, const NameSet& names) {
  for (const FolderEntry& entry : ListFolder(path, "*")) {
    if (names.count(ToLowerAscii(Title(entry.name))) > 0) return true;
  }
  return false;
}

// Asks about every enabled path without a known set; `goOn` becomes the
// answer to the last question.
void WarnAboutPaths(const PathList& paths, const NameSet& names, const std::string& text,
                    UserInterface* owner, bool& goOn) {
  for (const PathEntry& entry : paths) {
    if (!entry.enabled || HoldsKnownSet(entry.path, names)) continue;
    const int answer = ShowMessage(owner, text + entry.path, "Path Warning",
                                   {MessageButtons::kOkCancel, MessageIcon::kExclamation});
    goOn = answer == kResultOk;
  }
}

}  // namespace

bool CheckPathWarnings(const SettingsRecord& settings, const GameList& database,
                       UserInterface* owner) {
  if (!settings.pathWarnings) return true;
  bool goOn = true;
  WarnAboutPaths(settings.romPaths, SetNames(database, false), "No roms found in rompath:\n\n",
                 owner, goOn);
  WarnAboutPaths(settings.samplePaths, SetNames(database, true),
                 "No samples found in samplepath:\n\n", owner, goOn);
  return goOn;
}

}  // namespace kestrel
