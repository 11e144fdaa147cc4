#include "gamedb/game_list_file.h"

#include <cstdio>

#include "gamedb/datfile_parser.h"
#include "gamedb/xml_game_list.h"
#include "platform/file_system.h"

namespace kestrel {
namespace {

bool IsBlankOrLineEnd(int c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Skips a UTF-8 byte-order mark; true for a UTF-16 one, whose text only
// the XML reader can read.
bool SkipByteOrderMark(std::FILE* file, bool& utf16) {
  int first = std::fgetc(file);
  int second = std::fgetc(file);
  utf16 = (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF);
  if (first == 0xEF && second == 0xBB && std::fgetc(file) == 0xBF) return true;
  return std::fseek(file, 0, SEEK_SET) == 0;
}

}  // namespace

bool IsXmlGameList(const std::string& path) {
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return false;
  bool utf16 = false;
  if (!SkipByteOrderMark(file.get(), utf16)) return false;
  if (utf16) return true;
  int c;
  while ((c = std::fgetc(file.get())) != EOF && IsBlankOrLineEnd(c)) {
  }
  return c == '<';
}

bool ParseGameList(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                   ListMessages& messages, RomlessMachines* romless) {
  if (IsXmlGameList(path)) return ParseXmlGameList(rawGames, path, progress, enableRomOf, messages, romless);
  return ParseDatfile(rawGames, path, progress, enableRomOf, messages);
}

}  // namespace kestrel
