// The desktop program's rules without its windows: ticking games in the
// games list, moving path list lines, the start choice, and the scanner
// dialog's boxes, where a fix (or an option) never stays on without the
// check that governs it. Each is fed what users and damaged profiles hand
// it too: patterns with tabs, lines in another order, references to no
// game. Loading a profile is tested with its windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "gui/file_filter.h"
#include "gui/games_list.h"
#include "gui/path_list_editing.h"
#include "gui/scanner_controls.h"
#include "gui/start_choice.h"
#include "gui/status_texts.h"
#include "settings/profile_file.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel {
namespace {

// pacman with clones puckman and pacmanf (and two damaged clone
// references), galaga alone, and two clones whose parent references are
// damaged. The lines are shown in reverse: their order need not be the games'.
struct Games {
  GameList database = GameList(6);
  SettingsRecord record;
  PathList lines;

  Games() {
    const char* names[] = {"pacman", "puckman", "pacmanf", "galaga", "lost", "orphan"};
    for (size_t i = 0; i < database.size(); ++i) database[i].name = names[i];
    database[0].isParent = true;
    database[0].clones = {{"", 1}, {"", 99}, {"", 2}, {"", -1}};
    for (int clone : {1, 2}) {
      database[clone].hasParent = true;
      database[clone].parentIndex = 0;
    }
    database[4].hasParent = database[5].hasParent = true;
    database[4].parentIndex = 42;
    database[5].parentIndex = -1;
    lines = BuildGameList(database);
    std::reverse(lines.begin(), lines.end());
  }

  // "1" per selected game, "0" otherwise; the lines must agree.
  std::string Ticks() const {
    std::string ticks;
    for (const PathEntry& line : lines) EXPECT_EQ(line.enabled, database[line.game].selected) << line.path;
    for (const GameSet& game : database) ticks += game.selected ? '1' : '0';
    return ticks;
  }
};

// Each click is followed by the ticks of all six games.
TEST(GamesList, ATickedCloneCarriesItsFamilyOnlyWithParentClones) {
  Games g;
  EXPECT_EQ(g.lines[4].path, " <puckman>");
  struct Click {
    bool parentClones;
    int game;
    bool selected;
    const char* ticks;
  };
  const Click clicks[] = {{true, 1, false, "000111"},  // a clone: parent and every clone follow
                          {true, 0, true, "111111"},   // the parent: its clones follow
                          {true, 4, false, "111101"},  // damaged parent references: itself only
                          {true, 5, false, "111100"},  {false, 2, false, "110100"},
                          {false, 3, false, "110000"}, {false, 9, true, "110000"}};  // 9: no such game
  for (const Click& click : clicks) {
    g.record.parentClones = click.parentClones;
    SetGameSelected(g.record, g.lines, g.database, click.game, click.selected);
    EXPECT_EQ(g.Ticks(), click.ticks) << click.game;
  }
}

PathList Lines(const std::string& names) {
  PathList list;
  for (char name : names) list.push_back({std::string(1, name), true, -1, static_cast<int>(list.size())});
  return list;
}

// The names in order; every line's position must be its index.
std::string Order(const PathList& list) {
  std::string order;
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i].position, static_cast<int>(i)) << list[i].path;
    order += list[i].path;
  }
  return order;
}

// The filter ticks the sets (zips or folders) its trimmed patterns find in
// the enabled paths, passing over files of no game; a filter of no pattern
// changes nothing. "Select Shown" ticks the lines given of the list shown:
// the games only on theirs.
TEST(GamesList, TheFilterTicksWhatItFindsInTheEnabledPathsAndSelectTicksTheLinesShown) {
  Games games;
  testing::TempFolder roms, off;
  for (const char* file : {"galaga.zip", "Orphan/a.bin", "galaxian.zip"}) testing::WriteFile(roms / file, "");
  testing::WriteFile(off / "pacman.zip", "");
  for (GameSet& game : games.database) game.roms.emplace_back();
  games.record.romPaths = {{roms.path()}, {off.path(), false}};
  RunGamesFilter(games.record, games.lines, games.database, " ; ", true);
  EXPECT_EQ(games.Ticks(), "111111");
  RunGamesFilter(games.record, games.lines, games.database, "\tpac*\t;  ; gal*\t", true);
  EXPECT_EQ(games.Ticks(), "000100");
  RunGamesFilter(games.record, games.lines, games.database, "orph*", false);  // earlier ticks stay
  EXPECT_EQ(games.Ticks(), "000101");

  SetLinesEnabled(games.record, games.lines, games.database, {1, 7}, true);  // the ROM paths shown
  EXPECT_TRUE(games.record.romPaths[1].enabled);
  games.record.currentPathList = static_cast<PathListKind>(7);  // no list: nothing changes
  SetLinesEnabled(games.record, games.lines, games.database, {0, 1}, false);
  EXPECT_TRUE(games.record.romPaths[1].enabled && ShownPathList(games.record, games.lines) == nullptr);
  EXPECT_EQ(games.Ticks(), "000101");
  games.record.currentPathList = PathListKind::kGames;
  games.record.parentClones = false;
  SetLinesEnabled(games.record, games.lines, games.database, {1, 5}, true);  // lines run backwards
  EXPECT_EQ(games.Ticks(), "100111");
}

// The search shows lines by words of the line or patterns of the set name,
// without case; it never ticks anything.
TEST(GamesList, TheSearchMatchesWordsOfTheLineOrPatternsOfTheName) {
  Games games;
  games.database[3].description = "Galaga '88";
  games.database[2].selected = false;
  games.lines = BuildGameList(games.database);
  const auto shown = [&](const std::string& text) {
    const GameSearch search(text);
    std::string result;
    for (const PathEntry& line : games.lines) result += search.Matches(line, games.database) ? '1' : '0';
    return result;
  };
  EXPECT_EQ(shown(""), "111111");
  EXPECT_EQ(shown("PUCK"), "010000");
  EXPECT_EQ(shown("'88; orph"), "000101");   // words of the description or the name
  EXPECT_EQ(shown("pac*"), "101000");        // a pattern matches the whole name
  EXPECT_EQ(shown("*man?"), "001000");
  EXPECT_EQ(games.Ticks(), "110111");
}

// Lines move one place and stop at both ends; a folder is added once in any
// spelling, an existing one as it is spelled on disk; a removal numbers the
// rest again.
TEST(PathListEditing, LinesMoveAddAndRemoveKeepingTheListNumbered) {
  PathList list = Lines("abc");
  const struct {
    int line, step, landed;
    const char* order;
  } moves[] = {{2, 1, 2, "abc"},  // the last line down: nothing moves
               {0, -1, 0, "abc"}, {3, -1, 3, "abc"}, {-1, 1, -1, "abc"},  // 3 and -1: no such line
               {1, 1, 2, "acb"},  {1, -1, 0, "cab"}, {1, 0, 1, "cab"}};
  for (const auto& move : moves) {
    EXPECT_EQ(MovePathLine(list, move.line, move.step), move.landed) << move.line;
    EXPECT_EQ(Order(list), move.order);
  }
  RemovePathLine(list, 3);
  RemovePathLine(list, 0);
  EXPECT_EQ(Order(list), "ab");

  testing::TempFolder top;
  testing::WriteFile(top / "MyRoms/x", "");
  PathList added;
  EXPECT_TRUE(AddPath(added, top / "myroms") && AddPath(added, "/no/such/Roms"));
  EXPECT_FALSE(AddPath(added, top / "MYROMS/") || AddPath(added, "/NO/SUCH/roms/"));
  ASSERT_EQ(added.size(), 2u);
  EXPECT_EQ(added[0].path + added[1].path, top / "MyRoms//no/such/Roms/");
}

// The program's "desc|patterns|...||" filters become Qt's, naming each
// pattern once; a description without text takes its patterns' names.
TEST(FileFilter, BecomesQtsFormWithEachPatternOnce) {
  const char* cases[][2] = {
      {"Kestrel profiles (*.kpf)|*.kpf|All files|*.*||", "Kestrel profiles (*.kpf);;All files (*.*)"},
      {" (*.dat)|*.dat; *.xml||", "*.dat *.xml (*.dat *.xml)"},
      {"|*.bin||", "*.bin (*.bin)"},
      {"Data|*.dat|Dangling", "Data (*.dat)"},                      // no "||", a description alone
      {"Zips|*.zip;;*.7z ;|||", "Zips (*.zip *.7z)"},               // blank patterns dropped
      {"Smile :)|*.txt||", "Smile :) (*.txt)"},                     // a ')' that opens no group
      {"Roms (zipped) only|*.zip||", "Roms (zipped) only (*.zip)"}  // a group inside
  };
  for (const auto& c : cases) EXPECT_EQ(ToQtFileFilter(c[0]).toStdString(), c[1]) << c[0];
}

TEST(StartUp, TheFirstRunGreetsAndOnlyStartFromOnePicksAProfile) {
  const struct {
    int veryFirstTime;
    StartOption startFrom;
    StartAction action;
  } starts[] = {{1, StartOption::kLastSettings, StartAction::kWelcome},
                {1, StartOption::kPickProfile, StartAction::kWelcome},
                {0, StartOption::kPickProfile, StartAction::kPickProfile},
                {0, StartOption::kLastSettings, StartAction::kLoadLastProfile},
                {0, StartOption{7}, StartAction::kLoadLastProfile}};  // a damaged store: shown as "Last Settings"
  for (const auto& start : starts) {
    UserValues values;
    values.veryFirstTime = start.veryFirstTime;
    values.startFrom = start.startFrom;
    EXPECT_EQ(ChooseStartAction(values), start.action) << start.veryFirstTime;
  }
}

struct Governed {
  int check;
  int box;
  bool SettingsRecord::*setting;
};

// Every box a check governs, with the setting it stands for.
const Governed kGoverned[] = {
    {kCheckMissingBox, kFixMissingBox, &SettingsRecord::fixMissing},
    {kCheckMissingBox, kFixMissingBox, &SettingsRecord::fixMissingAdvanced},
    {kCheckMissingBox, kAllowDoubleNamesBox, &SettingsRecord::allowDoubleNames},
    {kCheckCaseBox, kFixCaseBox, &SettingsRecord::fixCase},
    {kCheckUnneededBox, kFixUnneededBox, &SettingsRecord::fixUnneeded},
    {kCheckUnneededBox, kAdvancedUnneededBox, &SettingsRecord::advancedUnneeded},
    {kCheckNameBox, kFixNameBox, &SettingsRecord::fixName},
    {kCheckLengthBox, kFixLengthBox, &SettingsRecord::fixLength},
};

// Every check and every box it governs on.
SettingsRecord AllOn() {
  SettingsRecord settings;
  for (const Governed& entry : kGoverned) {
    StoreBoxState(settings, entry.check, 1);
    settings.*(entry.setting) = true;
  }
  return settings;
}

// Each control finds its widget by its number: two with one number would
// show one caption twice and store one setting from two boxes.
TEST(ScannerControls, EveryControlHasANumberOfItsOwn) {
  std::set<int> ids;
  for (const ScannerControlText& text : ScannerControlTexts()) EXPECT_TRUE(ids.insert(text.id).second) << text.id;
}

TEST(ScannerControls, UntickingACheckTurnsOffWhatItGovernsAndTickingItAgainKeepsThemOff) {
  for (const Governed& entry : kGoverned) {
    SettingsRecord settings = AllOn();
    const int shownOn = entry.setting == &SettingsRecord::fixMissingAdvanced ? kBoxGrey : 1;
    if (entry.setting == &SettingsRecord::fixMissing) settings.fixMissingAdvanced = false;
    EXPECT_EQ(BoxStateFor(settings, entry.box), shownOn) << entry.box;
    EXPECT_TRUE(IsBoxEnabledFor(settings, entry.box));

    StoreBoxState(settings, entry.check, 0);
    EXPECT_FALSE(settings.*(entry.setting)) << entry.box;
    EXPECT_EQ(BoxStateFor(settings, entry.box), 0);
    EXPECT_FALSE(IsBoxEnabledFor(settings, entry.box));
    StoreBoxState(settings, entry.check, 1);
    EXPECT_FALSE(settings.*(entry.setting)) << entry.box;
    EXPECT_TRUE(IsBoxEnabledFor(settings, entry.box));
    // The other checks' boxes are left alone.
    for (const Governed& other : kGoverned) {
      if (other.check != entry.check && other.setting != &SettingsRecord::fixMissingAdvanced) {
        EXPECT_TRUE(settings.*(other.setting)) << entry.box << " cleared " << other.box;
      }
    }
  }
}

// A profile or fastscan file with fixes but not their checks: the dialog
// drops the fixes it shows off, and keeps those whose check is on.
TEST(ScannerControls, FixesArrivingWithoutTheirCheckAreDropped) {
  SettingsRecord settings = AllOn();
  settings.checkCase = settings.checkMissing = false;
  EXPECT_EQ(BoxStateFor(settings, kFixCaseBox), 0);  // shown off before it is dropped
  ClearBoxesWithoutCheck(settings);
  EXPECT_FALSE(settings.fixCase);
  EXPECT_FALSE(settings.fixMissing || settings.fixMissingAdvanced || settings.allowDoubleNames);
  EXPECT_TRUE(settings.fixName && settings.fixLength && settings.fixUnneeded && settings.advancedUnneeded);
  EXPECT_TRUE(settings.checkName && !settings.checkCase);
}

// The two three-state boxes: each state reads back as stored, grey is the
// stronger setting, and the 0-CRC box names what it shows. The game type
// and the layout radios sit side by side: each stores its own value, shown
// ticked alone in its group.
TEST(ScannerControls, ThreeStateBoxesKeepEachStateGreyWinsAndRadiosStoreTheirType) {
  for (int box : {kFixMissingBox, kShowZeroCrcsBox}) {
    for (int state : {1, kBoxGrey, 0}) {
      SettingsRecord settings = AllOn();
      StoreBoxState(settings, box, state);
      EXPECT_EQ(BoxStateFor(settings, box), state) << box;
    }
  }
  SettingsRecord settings;
  settings.showMissingZeroCrcs = settings.showAllZeroCrcs = true;
  EXPECT_EQ(BoxStateFor(settings, kShowZeroCrcsBox), kBoxGrey);
  StoreBoxState(settings, kShowZeroCrcsBox, 1);
  EXPECT_TRUE(settings.showMissingZeroCrcs && !settings.showAllZeroCrcs);
  EXPECT_EQ(std::string(ZeroCrcCaption(kBoxGrey)) + "/" + ZeroCrcCaption(1), "Show All 0-CRCs/Show Missing 0-CRCs");

  const std::pair<int, int> radios[] = {
      {kArcadeOnlyRadio, static_cast<int>(ScanGameTypes::kArcadeOnly)},
      {kNeoGeoOnlyRadio, static_cast<int>(ScanGameTypes::kNeoGeoOnly)},
      {kBothTypesRadio, static_cast<int>(ScanGameTypes::kBoth)},
      {kMergedRadio, static_cast<int>(SetLayout::kMerged)},
      {kSplitRadio, static_cast<int>(SetLayout::kSplit)},
      {kNoMergedRadio, static_cast<int>(SetLayout::kNonMerged)},
      {kFullNonMergedRadio, static_cast<int>(SetLayout::kFullNonMerged)}};
  for (size_t i = 0; i < std::size(radios); ++i) {
    StoreRadio(settings, radios[i].first);
    const bool layout = i >= 3;
    EXPECT_EQ(layout ? static_cast<int>(settings.scanMergeMode) : static_cast<int>(settings.scanGameTypes),
              radios[i].second) << radios[i].first;
    for (size_t other = layout ? 3 : 0; other < (layout ? std::size(radios) : 3u); ++other)
      EXPECT_EQ(IsRadioSelectedFor(settings, radios[other].first), other == i) << radios[i].first;
  }
}

// The status bar's scan line: the verdicts always, a finding only when
// there is one; numbers grouped by thousands.
TEST(StatusTexts, ScanLineNamesVerdictsAndOnlyTheFindingsThereAre) {
  ScanStatistics s;
  s.romsets = {3456, 0, 120, 36614};
  EXPECT_EQ(ScanStatus(s, "16:05"), "Last scan 16:05: 3,456 sets good, 120 bad, 36,614 not found");
  s.romsets.bestAvailable = 2;
  s.missingArcadeRoms = 999;
  s.missingNeoGeoRoms = 1;
  s.wrongChecksums = 7;
  s.unreadable = 5;
  EXPECT_EQ(ScanStatus(s, "9:00"), "Last scan 9:00: 3,456 sets good, 2 best available, 120 bad, 36,614 not found; "
                                   "1,000 ROMs missing, 7 wrong checksums, 5 unreadable");
  EXPECT_EQ(GroupedNumber(1234567), "1,234,567");
  EXPECT_EQ(GroupedNumber(-1000), "-1,000");
  EXPECT_EQ(GroupedNumber(999), "999");
}

}  // namespace
}  // namespace kestrel
