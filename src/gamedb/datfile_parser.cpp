#include "gamedb/datfile_parser.h"

#include <cstdint>

#include "gamedb/byte_progress.h"
#include "gamedb/list_values.h"
#include "platform/file_system.h"
#include "platform/sha1_digest.h"
#include "platform/text.h"
#include "platform/thread_priority.h"

namespace kestrel {

namespace {

// Reads one block, its keyword already taken, handing each token at depth 1
// to `readField`. A block ends when its depth is back at zero, which also
// happens right after its first token when that is not "(". False when the
// file ends inside it or `readField` says so.
template <typename ReadField>
bool ReadBlock(DatfileStream& file, std::string& token, ReadField readField) {
  int64_t depth = 0;
  do {
    if (!NextToken(file, token)) return false;
    if (token == "(") {
      ++depth;
    } else if (token == ")") {
      --depth;
    } else if (depth == 1 && !readField()) {
      return false;
    }
  } while (depth > 0);
  return true;
}

bool ReadRomField(DatfileStream& file, std::string& token, RomEntry& rom) {
  if (EqualsNoCase(token, "name")) return NextToken(file, rom.name);
  if (EqualsNoCase(token, "merge")) return NextToken(file, rom.merge);
  if (EqualsNoCase(token, "size")) {
    if (!NextToken(file, token)) return false;
    ReadSignedDecimal(token, rom.size);
  } else if (EqualsNoCase(token, "crc") || EqualsNoCase(token, "crc32")) {
    if (!NextToken(file, token)) return false;
    ReadHexadecimal(token, rom.crc);
  }
  return true;
}

// A disk's fields as the XML form's attributes: "flags" is the text form's
// word for the status. A disk without sha1 has no known dump.
bool ReadDiskField(DatfileStream& file, std::string& token, DiskEntry& disk) {
  if (EqualsNoCase(token, "name")) return NextToken(file, disk.name);
  if (EqualsNoCase(token, "merge")) return NextToken(file, disk.merge);
  bool isSha1 = EqualsNoCase(token, "sha1");
  bool isStatus = EqualsNoCase(token, "flags") || EqualsNoCase(token, "status");
  if (!isSha1 && !isStatus) return true;
  if (!NextToken(file, token)) return false;
  if (isSha1) disk.sha1 = ParseSha1(token);
  if (isStatus) disk.status = ReadDumpStatus(ToLowerAscii(token));
  return true;
}

// A ROM needs a name and content. Negative sizes are dropped as well: no
// file has them, and the tools would turn them into absurd lengths.
bool IsUsableRom(const RomEntry& rom) { return !rom.name.empty() && rom.size > 0; }

// Handles one token at depth 1 of a game block. A keyword takes the next
// token whole as its value, so a set or sample named like a keyword starts
// nothing. False when the file ends.
bool ReadGameField(DatfileStream& file, std::string& token, GameSet& game, bool enableRomOf) {
  if (EqualsNoCase(token, "name")) return NextToken(file, game.name);
  if (EqualsNoCase(token, "description")) return NextToken(file, game.description);
  if (EqualsNoCase(token, "sampleof")) {
    if (!NextToken(file, game.sampleOf)) return false;
    game.hasSampleOf = !game.sampleOf.empty();
    return true;
  }
  if (EqualsNoCase(token, "cloneof")) {
    if (!NextToken(file, game.cloneOf)) return false;
    game.hasParent = !game.cloneOf.empty();
    return true;
  }
  if (EqualsNoCase(token, "romof")) {
    // Lists that name no parent with "cloneof" name it with "romof".
    if (!NextToken(file, game.romOf)) return false;
    if (enableRomOf) {
      game.cloneOf = game.romOf;
      game.hasParent = !game.romOf.empty();
    }
    return true;
  }
  if (EqualsNoCase(token, "sample")) {
    if (!NextToken(file, token)) return false;
    if (token.empty()) return true;
    SampleEntry sample;
    sample.name = token;
    game.samples.push_back(std::move(sample));
    return true;
  }
  if (EqualsNoCase(token, "rom")) {
    RomEntry rom;
    if (!ReadBlock(file, token, [&] { return ReadRomField(file, token, rom); })) return false;
    // A ROM without a crc field is one without a known dump: crc 0.
    SetRomCrc(rom, rom.crc);
    if (IsUsableRom(rom)) game.roms.push_back(std::move(rom));
    return true;
  }
  if (EqualsNoCase(token, "disk")) {
    DiskEntry disk;
    if (!ReadBlock(file, token, [&] { return ReadDiskField(file, token, disk); })) return false;
    if (!disk.name.empty()) game.disks.push_back(std::move(disk));
    return true;
  }
  return true;
}

// A cut text has lost part of a name or title: say where, so that nothing
// of the list goes missing without a word.
void NoteCutTokens(const DatfileStream& file, const std::string& path, ListMessages& messages) {
  if (file.cutTokens == 0) return;
  std::string text = "Text longer than " + std::to_string(DatfileStream::kMaxTokenLength) +
                     " bytes cut in game list: \n\n'" + path + "'\n\nline " + std::to_string(file.firstCutLine);
  if (file.cutTokens > 1) text += " (and " + std::to_string(file.cutTokens - 1) + " more)";
  messages.push_back(text + " !");
}

bool IsUsableGame(const GameSet& game) {
  return !game.name.empty() && !game.description.empty() && (game.romCount > 0 || !game.disks.empty());
}

}  // namespace

bool ParseDatfile(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                  ListMessages& messages) {
  ScopedThreadPriority priority(kPriorityNormal);
  rawGames.clear();
  DatfileStream file;
  if (!file.Open(path)) return false;
  ByteProgress bar(progress, FileSize(path).value_or(0));
  std::string token;
  bool cancelled = false;
  while (!cancelled && NextToken(file, token)) {
    // Older emulators list their BIOS sets as resources.
    bool isResource = EqualsNoCase(token, "resource");
    if (!isResource && !EqualsNoCase(token, "game")) continue;
    GameSet game;
    game.isBios = isResource;
    if (!ReadBlock(file, token, [&] { return ReadGameField(file, token, game, enableRomOf); })) {
      break;
    }
    game.romCount = static_cast<int>(game.roms.size());
    game.sampleCount = static_cast<int>(game.samples.size());
    progress.SetText("\n\n" + game.description);
    bar.Advance(file.bytesRead());
    if (IsUsableGame(game)) rawGames.push_back(std::move(game));
    cancelled = progress.IsCancelled();
  }
  NoteCutTokens(file, path, messages);
  return !cancelled && !rawGames.empty();
}

}  // namespace kestrel
