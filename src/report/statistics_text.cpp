#include "report/statistics_text.h"

#include "app/user_interface.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kNotAvailable[] = "<n/a>\r\n";
constexpr char kLineEnd[] = "\r\n";

std::string Number(int32_t value) { return std::to_string(value); }

std::string OutOf(int32_t count, int32_t total) { return Number(count) + " of " + Number(total); }

// A finding count with its fixed count when the fix was on.
std::string FindingLine(bool checked, int32_t count, bool fixOption, int32_t fixed) {
  if (!checked) return kNotAvailable;
  std::string text = Number(count);
  if (fixOption) text += " [" + Number(fixed) + " fixed]";
  return text + kLineEnd;
}

// The overall figure, then the arcade and NeoGeo figures for the game types
// that were scanned.
std::string MissingLines(bool checked, int gameTypes, int32_t missingArcade, int32_t arcade,
                         int32_t missingNeoGeo, int32_t neoGeo, const char* arcadeLabel,
                         const char* neoGeoLabel) {
  if (!checked) return kNotAvailable;
  std::string text = OutOf(missingArcade + missingNeoGeo, arcade + neoGeo) + kLineEnd;
  if (gameTypes != 1) text += arcadeLabel + OutOf(missingArcade, arcade) + kLineEnd;
  if (gameTypes != 0) text += neoGeoLabel + OutOf(missingNeoGeo, neoGeo) + kLineEnd;
  return text;
}

}  // namespace

std::string BuildStatisticsText(const ScanStatistics& c, const SettingsRecord& s) {
  const int types = s.scanGameTypes;
  std::string text = "Missing Games:          ";
  text += MissingLines(s.scanGames && s.checkMissing, types, c.missingArcadeGames, c.arcadeGames,
                       c.missingNeoGeoGames, c.neoGeoGames, "Missing Arcade Games:   ",
                       "Missing NeoGeo Games:   ");
  text += "Wrong Spelled Games:    ";
  text += FindingLine(s.scanGames && s.checkCase, c.wrongSpelledGames, s.fixCase,
                      c.wrongSpelledGamesFixed);
  text += "Wrong Named Games:      ";
  text += FindingLine(s.scanGames && s.checkName, c.wrongNamedGames, s.fixName,
                      c.wrongNamedGamesFixed);

  text += "\r\nMissing Roms:           ";
  text += MissingLines(s.scanRoms && s.checkMissing, types, c.missingArcadeRoms, c.arcadeRoms,
                       c.missingNeoGeoRoms, c.neoGeoRoms, "Missing Arcade Roms:    ",
                       "Missing NeoGeo Roms:    ");
  text += "Wrong Named Roms:       ";
  text += FindingLine(s.scanRoms && s.checkName, c.wrongNamedRoms, s.fixName,
                      c.wrongNamedRomsFixed);
  text += "Wrong Spelled Roms:     ";
  text += FindingLine(s.scanRoms && s.checkCase, c.wrongSpelledRoms, s.fixCase,
                      c.wrongSpelledRomsFixed);
  text += "Wrong Sized Roms:       ";
  text += FindingLine(s.scanRoms && s.checkLength, c.wrongSizedRoms, s.fixLength,
                      c.wrongSizedRomsFixed);
  text += "Wrong Checksums:        ";
  text += FindingLine(s.scanRoms && s.checkChecksum, c.wrongChecksums, false, 0);

  text += "\r\nMissing Samples:        ";
  text += s.scanSamples && s.checkMissing ? OutOf(c.missingSamples, c.samples) + kLineEnd
                                          : std::string(kNotAvailable);
  text += "Wrong Spelled Samples:  ";
  text += FindingLine(s.scanSamples && s.checkCase, c.wrongSpelledSamples, s.fixCase,
                      c.wrongSpelledSamplesFixed);

  text += "\r\nUnneeded Files/Folders: ";
  text += FindingLine(s.checkUnneeded, c.unneeded, s.fixUnneeded, c.unneededFixed);

  text += "\r\nNumber Of Games:        " + Number(c.games);
  text += "\r\nNumber Of NeoGeo Games: " + Number(c.neoGeoGames);
  text += "\r\nNumber Of Arcade Games: " + Number(c.arcadeGames);
  text += "\r\nNumber Of Parents:      " + Number(c.parents);
  text += "\r\nNumber Of Clones:       " + Number(c.clones);
  text += "\r\nNumber Of Others:       " + Number(c.games - c.parents - c.clones);
  text += "\r\n\r\nNumber Of Roms:         " + Number(c.arcadeRoms + c.neoGeoRoms);
  text += "\r\nNumber Of Arcade Roms:  " + Number(c.arcadeRoms);
  text += "\r\nNumber Of NeoGeo Roms:  " + Number(c.neoGeoRoms);
  text += "\r\n\r\nNumber Of Samples:      " + Number(c.samples);
  text += "\r\n\r\nNumber Of Bad Dumps:    " + Number(c.badDumps);
  return text;
}

std::string RemoveCarriageReturns(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != '\r') result += c;
  }
  return result;
}

std::string BuildStatistics(const ScanStatistics& statistics, const SettingsRecord& settings,
                            UserInterface* owner) {
  // The interfaces this program runs under all break lines at '\n' alone.
  std::string text = RemoveCarriageReturns(BuildStatisticsText(statistics, settings));
  ShowMessage(owner, text, "Statistics", MessageStyle{});
  return text;
}

}  // namespace kestrel
