// Helpers of the rebuilder and merger dialog tests: a game database made
// from ROM contents, zips written and read back, and a hand on the Cancel
// button of the progress window a run opens.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gamedb/game_set.h"

class QWidget;

namespace kestrel::testing {

using Files = std::map<std::string, std::string>;  // name -> contents

// Contents of a ROM, different for every name.
std::string RomData(const std::string& romName);

struct TestGame {
  std::string name;
  std::string cloneOf;            // "" for a parent
  std::vector<std::string> roms;  // names; the contents are RomData(name)
  std::vector<std::string> samples = {};
};

// Parses and validates a datfile of `games`, written to `datfile`.
GameList MakeDatabase(const std::vector<TestGame>& games, const std::string& datfile);

// The files of a set: the ROMs named, with their contents.
Files RomFiles(const std::vector<std::string>& names);

// Writes a zip holding `files` (staged beside it).
void WriteZip(const std::string& path, const Files& files);
// The members of a zip with their contents; empty when it is no zip.
Files ZipContents(const std::string& path);

// Once the progress window of `owner` shows, presses its Cancel button and
// answers the question "Do you really want to stop ?" with `confirm`.
// Sets `pressed` when that happened.
void PressCancelWhenProgressShows(QWidget* owner, bool confirm, bool* pressed);

}  // namespace kestrel::testing
