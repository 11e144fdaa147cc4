#include "report/statistics_text.h"

#include "app/user_interface.h"
#include "report/finding_rules.h"
#include "settings/settings_record.h"

namespace kestrel {
namespace {

constexpr char kNotAvailable[] = "<n/a>\r\n";
constexpr char kLineEnd[] = "\r\n";

std::string Number(int32_t value) { return std::to_string(value); }

std::string OutOf(int32_t count, int32_t total) { return Number(count) + " of " + Number(total); }

// Every figure starts in the same column.
std::string Label(const std::string& name) {
  constexpr size_t kFigureColumn = 24;
  std::string text = name + ":";
  if (text.size() < kFigureColumn) text.resize(kFigureColumn, ' ');
  return text;
}

std::string Figure(const std::string& name, int32_t value) {
  return Label(name) + Number(value) + kLineEnd;
}

// A finding count with its fixed count when the fix was on.
std::string FindingLine(const std::string& name, bool checked, int32_t count, bool fixOption,
                        int32_t fixed) {
  std::string text = Label(name);
  if (!checked) return text + kNotAvailable;
  text += Number(count);
  if (fixOption) text += " [" + Number(fixed) + " fixed]";
  return text + kLineEnd;
}

// The overall figure, then the arcade and NeoGeo figures for the game types
// that were scanned.
std::string MissingLines(const std::string& what, bool checked, ScanGameTypes gameTypes,
                         int32_t missingArcade, int32_t arcade, int32_t missingNeoGeo,
                         int32_t neoGeo) {
  std::string text = Label("Missing " + what);
  if (!checked) return text + kNotAvailable;
  text += OutOf(missingArcade + missingNeoGeo, arcade + neoGeo) + kLineEnd;
  if (gameTypes != ScanGameTypes::kNeoGeoOnly) {
    text += Label("Missing Arcade " + what) + OutOf(missingArcade, arcade) + kLineEnd;
  }
  if (gameTypes != ScanGameTypes::kArcadeOnly) {
    text += Label("Missing NeoGeo " + what) + OutOf(missingNeoGeo, neoGeo) + kLineEnd;
  }
  return text;
}

// How many sets MAME would call good, best available (ROM sets only), bad
// or not found; "<n/a>" when the scan did not look at such sets.
std::string VerdictLines(const std::string& what, bool checked, const VerdictCounts& counts) {
  auto line = [&](const std::string& name, int32_t count) {
    return Label(what + " " + name) + (checked ? Number(count) + kLineEnd : std::string(kNotAvailable));
  };
  std::string text = line("Good", counts.good);
  if (what == "Romsets") text += line("Best Available", counts.bestAvailable);
  return text + line("Bad", counts.bad) + line("Not Found", counts.notFound);
}

// Only lists that name disks get these lines, after the findings' figures.
std::string DiskLines(const ScanStatistics& c, const SettingsRecord& s) {
  auto checked = [&](ResultKind kind) { return IsFindingChecked(kind, s); };
  std::string text = Label("Missing Disks");
  text += checked(kResultMissingRom) ? OutOf(c.missingDisks, c.disks) + kLineEnd : std::string(kNotAvailable);
  text += FindingLine("Wrong Disks", checked(kResultWrongChecksum), c.wrongDisks, false, 0);
  text += FindingLine("Unreadable Disks", checked(kResultUnreadable), c.unreadableDisks, false, 0);
  text += FindingLine("Unneeded Disks", checked(kResultUnneeded), c.unneededDisks, false, 0);
  return text + Figure("Number Of Disks", c.disks);
}

}  // namespace

std::string BuildStatisticsText(const ScanStatistics& c, const SettingsRecord& s) {
  const ScanGameTypes types = s.scanGameTypes;
  auto checked = [&](ResultKind kind) { return IsFindingChecked(kind, s); };
  // A finding's count, with its fixed count when its fix is on.
  auto finding = [&](const char* name, ResultKind kind, int32_t count, int32_t fixed) {
    return FindingLine(name, checked(kind), count, IsFindingFixOn(kind, s), fixed);
  };
  std::string text = MissingLines("Games", checked(kResultMissingGame), types, c.missingArcadeGames,
                                  c.arcadeGames, c.missingNeoGeoGames, c.neoGeoGames);
  text += finding("Wrong Spelled Games", kResultGameCase, c.wrongSpelledGames, c.wrongSpelledGamesFixed);
  text += finding("Wrong Named Games", kResultGameName, c.wrongNamedGames, c.wrongNamedGamesFixed);
  text += kLineEnd;
  text += MissingLines("Roms", checked(kResultMissingRom), types, c.missingArcadeRoms, c.arcadeRoms,
                       c.missingNeoGeoRoms, c.neoGeoRoms);
  text += finding("Wrong Named Roms", kResultRomName, c.wrongNamedRoms, c.wrongNamedRomsFixed);
  text += finding("Wrong Spelled Roms", kResultRomCase, c.wrongSpelledRoms, c.wrongSpelledRomsFixed);
  text += finding("Wrong Sized Roms", kResultWrongLength, c.wrongSizedRoms, c.wrongSizedRomsFixed);
  text += finding("Wrong Checksums", kResultWrongChecksum, c.wrongChecksums, 0);
  text += kLineEnd;
  text += Label("Missing Samples");
  text += checked(kResultMissingSample) ? OutOf(c.missingSamples, c.samples) + kLineEnd
                                        : std::string(kNotAvailable);
  text += finding("Wrong Spelled Samples", kResultSampleCase, c.wrongSpelledSamples, c.wrongSpelledSamplesFixed);
  text += kLineEnd;
  text += finding("Unneeded Files/Folders", kResultUnneeded, c.unneeded, c.unneededFixed);
  text += kLineEnd;
  text += Figure("Number Of Games", c.games) + Figure("Number Of NeoGeo Games", c.neoGeoGames) +
          Figure("Number Of Arcade Games", c.arcadeGames) + Figure("Number Of Parents", c.parents) +
          Figure("Number Of Clones", c.clones) +
          Figure("Number Of Others", c.games - c.parents - c.clones) + kLineEnd;
  text += Figure("Number Of Roms", c.arcadeRoms + c.neoGeoRoms) +
          Figure("Number Of Arcade Roms", c.arcadeRoms) +
          Figure("Number Of NeoGeo Roms", c.neoGeoRoms) + kLineEnd;
  text += Figure("Number Of Samples", c.samples) + kLineEnd;
  text += Figure("Number Of Bad Dumps", c.badDumps) + kLineEnd;
  text += finding("Unreadable Sets/Roms", kResultUnreadable, c.unreadable, 0) + kLineEnd;
  if (c.disks > 0) text += DiskLines(c, s) + kLineEnd;
  text += VerdictLines("Romsets", s.scanRoms, c.romsets) + kLineEnd;
  // The last figure ends the text without a line end.
  std::string samplesets = VerdictLines("Samplesets", s.scanSamples, c.samplesets);
  return text + samplesets.substr(0, samplesets.size() - 2);
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
