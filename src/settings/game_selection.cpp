#include "settings/game_selection.h"

namespace kestrel {

bool ApplyGameSelection(const SettingsRecord& record, uint32_t dataCrc, GameList& database) {
  size_t count = database.size();
  if (count == 0 || dataCrc != record.storedDataCrc ||
      record.storedGameCount < 0 || static_cast<size_t>(record.storedGameCount) != count ||
      record.gameSelectionBytes.size() != count) {
    return false;
  }
  for (size_t i = 0; i < count; ++i) database[i].selected = record.gameSelectionBytes[i] == 1;
  return true;
}

}  // namespace kestrel
