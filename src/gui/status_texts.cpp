#include "gui/status_texts.h"

#include <algorithm>

namespace kestrel {

std::string GroupedNumber(long long value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<size_t>(at), ",");
  return value < 0 ? "-" + digits : digits;
}

std::string ListStatus(const LoadedData& loaded, const GameList& database) {
  if (!loaded.source || database.empty()) return "No game list loaded";
  const size_t slash = loaded.path.find_last_of('/');
  const std::string name = slash == std::string::npos ? loaded.path : loaded.path.substr(slash + 1);
  return "List: " + name + ", " + GroupedNumber(static_cast<long long>(database.size())) + " games";
}

std::string SelectionStatus(const GameList& database) {
  if (database.empty()) return "";
  const auto selected = std::count_if(database.begin(), database.end(), [](const GameSet& game) { return game.selected; });
  return "Selected: " + GroupedNumber(selected) + " of " + GroupedNumber(static_cast<long long>(database.size())) +
         " games";
}

std::string WithListCaption(const std::string& caption, const std::string& listName) {
  return listName.empty() ? caption : caption + " - Software List: " + listName;
}

std::string ScanStatus(const ScanStatistics& s, const std::string& time) {
  std::string text = "Last scan " + time + ": " + GroupedNumber(s.romsets.good) + " sets good";
  if (s.romsets.bestAvailable > 0) text += ", " + GroupedNumber(s.romsets.bestAvailable) + " best available";
  text += ", " + GroupedNumber(s.romsets.bad) + " bad, " + GroupedNumber(s.romsets.notFound) + " not found";
  const long long missingRoms = static_cast<long long>(s.missingArcadeRoms) + s.missingNeoGeoRoms;
  if (missingRoms > 0) text += "; " + GroupedNumber(missingRoms) + " ROMs missing";
  if (s.wrongChecksums > 0) text += ", " + GroupedNumber(s.wrongChecksums) + " wrong checksums";
  if (s.unneeded > 0) text += ", " + GroupedNumber(s.unneeded) + " unneeded";
  if (s.unreadable > 0) text += ", " + GroupedNumber(s.unreadable) + " unreadable";
  return text;
}

}  // namespace kestrel
