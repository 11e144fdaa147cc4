#include "scanner/game_set_check.h"

#include <optional>

#include "gamedb/rom_home.h"
#include "platform/paths.h"
#include "scanner/fix_operations.h"
#include "scanner/set_lookup.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

// The set's name as the file system spells it. A zip or 7z whose extension
// is spelled otherwise than ".zip" or ".7z" keeps it: MAME opens the listed
// name with those, so "3stooges.ZIP" is wrongly spelled too.
std::string SpelledSetName(const std::string& foundPath, bool isZip) {
  std::string name = FileNamePart(foundPath);
  for (const std::string extension : {".zip", ".7z"}) {
    if (isZip && name.size() > extension.size() && name.ends_with(extension)) {
      name.resize(name.size() - extension.size());
      break;
    }
  }
  return name;
}

}  // namespace

void CheckGameSet(ScanContext& context, GameSet& game, SetScan& scan, const std::string& setPath) {
  bool isZip = false;
  std::optional<std::string> foundPath = FindSetPath(context, setPath, &isZip);
  if (!foundPath) return;
  scan.found = true;
  const SettingsRecord& settings = context.settings;
  if (!settings.checkCase) return;

  std::string foundName = SpelledSetName(*foundPath, isZip);
  bool correct = foundName == game.name ||
                 (!KeepsFamiliesApart(settings.scanMergeMode) && game.hasParent && foundName == game.cloneOf);
  if (correct) {
    scan.caseCorrect = true;
    if (scan.nameOnDisk.empty()) scan.nameOnDisk = foundName;
    return;
  }
  // Keep the wrong spelling for the report unless another set already
  // proved the spelling right.
  if (!scan.caseCorrect) scan.nameOnDisk = foundName;
  if (context.settings.fixCase && FixSetCase(context, game, setPath, *foundPath)) {
    scan.caseFixed = true;
  }
}

}  // namespace kestrel
