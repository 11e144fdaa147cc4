#include "gamedb/xml_game_list.h"

#include <expat.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "gamedb/byte_progress.h"
#include "gamedb/list_values.h"
#include "platform/file_system.h"
#include "platform/thread_priority.h"

namespace kestrel {
namespace {

constexpr size_t kChunkSize = size_t{1} << 20;
// Expat keeps an unfinished token in its buffer until the token ends; a
// stretch without any event longer than this is a token no list has.
constexpr uint64_t kMaxPendingBytes = uint64_t{16} << 20;

struct ParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using ParserPtr = std::unique_ptr<XML_ParserStruct, ParserDeleter>;

// Everything the handlers share while one document is read.
struct XmlReader {
  XmlReader(GameList& games, ProgressDialog& dialog, uint64_t fileSize, bool romOf)
      : rawGames(games), progress(dialog), bar(dialog, fileSize), enableRomOf(romOf) {}

  GameList& rawGames;
  ProgressDialog& progress;
  ByteProgress bar;
  bool enableRomOf;
  XML_Parser parser = nullptr;

  int depth = 0;      // of the element being read; the root element is 1
  int gameDepth = 0;  // of the open game element; 0 outside one
  GameSet game;
  bool inDescription = false;
  std::string description;

  std::string failure;  // why the reader stopped the parser itself
  unsigned long failureLine = 0;
  bool cancelled = false;
  uint64_t lastEventByte = 0;
};

void Stop(XmlReader& reader, const std::string& why) {
  if (reader.failure.empty()) {
    reader.failure = why;
    reader.failureLine = XML_GetCurrentLineNumber(reader.parser);
  }
  XML_StopParser(reader.parser, XML_FALSE);
}

void NoteEvent(XmlReader& reader) {
  XML_Index at = XML_GetCurrentByteIndex(reader.parser);
  if (at > 0) reader.lastEventByte = static_cast<uint64_t>(at);
}

std::string TooLong() { return "value longer than " + std::to_string(kMaxXmlValueLength) + " bytes"; }

// The value of attribute `name`, trimmed of trailing blanks like a token of
// the text form; null when the element has none.
const char* FindAttribute(const XML_Char** attributes, const char* name) {
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    if (std::strcmp(attributes[i], name) == 0) return attributes[i + 1];
  }
  return nullptr;
}

std::string AttributeValue(const XML_Char** attributes, const char* name) {
  const char* value = FindAttribute(attributes, name);
  std::string text = value != nullptr ? value : "";
  TrimTrailingBlanks(text);
  return text;
}

bool HasOverlongAttribute(const XML_Char** attributes) {
  for (int i = 1; attributes[i - 1] != nullptr; i += 2) {
    if (::strnlen(attributes[i], kMaxXmlValueLength + 1) > kMaxXmlValueLength) return true;
  }
  return false;
}

void BeginGame(XmlReader& reader, const XML_Char** attributes) {
  reader.gameDepth = reader.depth;
  reader.game = GameSet();
  GameSet& game = reader.game;
  game.name = AttributeValue(attributes, "name");
  game.cloneOf = AttributeValue(attributes, "cloneof");
  game.hasParent = !game.cloneOf.empty();
  game.romOf = AttributeValue(attributes, "romof");
  if (reader.enableRomOf && FindAttribute(attributes, "romof") != nullptr) {
    game.cloneOf = game.romOf;
    game.hasParent = !game.cloneOf.empty();
  }
  game.isBios = AttributeValue(attributes, "isbios") == "yes";
  game.isDevice = AttributeValue(attributes, "isdevice") == "yes";
  game.sampleOf = AttributeValue(attributes, "sampleof");
  game.hasSampleOf = !game.sampleOf.empty();
  game.rules = ListRules::kMame;
}


// A ROM without crc is one without a known dump (MAME's lists also say so
// by status="nodump"); a ROM without a name or
// with no positive size is not kept, as in the text form.
void AddRom(GameSet& game, const XML_Char** attributes) {
  RomEntry rom;
  rom.name = AttributeValue(attributes, "name");
  rom.merge = AttributeValue(attributes, "merge");
  ReadSignedDecimal(AttributeValue(attributes, "size"), rom.size);
  uint32_t crc = 0;
  ReadHexadecimal(AttributeValue(attributes, "crc"), crc);
  SetRomCrc(rom, crc);
  rom.status = ReadDumpStatus(AttributeValue(attributes, "status"));
  rom.optional = AttributeValue(attributes, "optional") == "yes";
  rom.sha1 = ParseSha1(AttributeValue(attributes, "sha1"));
  if (!rom.name.empty() && rom.size > 0) game.roms.push_back(std::move(rom));
}

// A disk without sha1 has no known dump, like a ROM without crc; one
// without a name is not kept.
void AddDisk(GameSet& game, const XML_Char** attributes) {
  DiskEntry disk;
  disk.name = AttributeValue(attributes, "name");
  disk.merge = AttributeValue(attributes, "merge");
  disk.sha1 = ParseSha1(AttributeValue(attributes, "sha1"));
  disk.status = ReadDumpStatus(AttributeValue(attributes, "status"));
  disk.optional = AttributeValue(attributes, "optional") == "yes";
  if (!disk.name.empty()) game.disks.push_back(std::move(disk));
}

void AddSample(GameSet& game, const XML_Char** attributes) {
  SampleEntry sample;
  sample.name = AttributeValue(attributes, "name");
  if (!sample.name.empty()) game.samples.push_back(std::move(sample));
}

// MAME names a device once per use; one name is enough.
void AddDeviceRef(GameSet& game, const XML_Char** attributes) {
  std::string name = AttributeValue(attributes, "name");
  if (name.empty() || std::find(game.deviceRefs.begin(), game.deviceRefs.end(), name) != game.deviceRefs.end()) return;
  game.deviceRefs.push_back(std::move(name));
}

void XMLCALL StartElement(void* data, const XML_Char* name, const XML_Char** attributes) {
  XmlReader& reader = *static_cast<XmlReader*>(data);
  NoteEvent(reader);
  if (++reader.depth > kMaxXmlDepth) return Stop(reader, "elements nested deeper than " + std::to_string(kMaxXmlDepth));
  if (HasOverlongAttribute(attributes)) return Stop(reader, TooLong());
  if (reader.gameDepth == 0) {
    if (std::strcmp(name, "game") == 0 || std::strcmp(name, "machine") == 0) BeginGame(reader, attributes);
    return;
  }
  if (reader.depth != reader.gameDepth + 1) return;
  if (std::strcmp(name, "rom") == 0) {
    AddRom(reader.game, attributes);
  } else if (std::strcmp(name, "disk") == 0) {
    AddDisk(reader.game, attributes);
  } else if (std::strcmp(name, "sample") == 0) {
    AddSample(reader.game, attributes);
  } else if (std::strcmp(name, "device_ref") == 0) {
    AddDeviceRef(reader.game, attributes);
  } else if (std::strcmp(name, "description") == 0) {
    reader.inDescription = true;
    reader.description.clear();
  }
}

void FinishGame(XmlReader& reader) {
  GameSet& game = reader.game;
  game.romCount = static_cast<int>(game.roms.size());
  game.sampleCount = static_cast<int>(game.samples.size());
  reader.progress.SetText("\n\n" + game.description);
  reader.bar.Advance(reader.lastEventByte);
  if (!game.name.empty() && !game.description.empty() && (game.romCount > 0 || !game.disks.empty())) {
    reader.rawGames.push_back(std::move(game));
  }
  reader.gameDepth = 0;
  if (reader.progress.IsCancelled()) {
    reader.cancelled = true;
    XML_StopParser(reader.parser, XML_FALSE);
  }
}

void XMLCALL EndElement(void* data, const XML_Char*) {
  XmlReader& reader = *static_cast<XmlReader*>(data);
  NoteEvent(reader);
  if (reader.inDescription && reader.depth == reader.gameDepth + 1) {
    reader.inDescription = false;
    TrimTrailingBlanks(reader.description);
    reader.game.description = std::move(reader.description);
    reader.description.clear();
  } else if (reader.gameDepth != 0 && reader.depth == reader.gameDepth) {
    FinishGame(reader);
  }
  --reader.depth;
}

// Text arrives in pieces; only a description's own text is kept.
void XMLCALL CharacterData(void* data, const XML_Char* text, int length) {
  XmlReader& reader = *static_cast<XmlReader*>(data);
  NoteEvent(reader);
  if (!reader.inDescription || reader.depth != reader.gameDepth + 1) return;
  if (reader.description.size() + static_cast<size_t>(length) > kMaxXmlValueLength) return Stop(reader, TooLong());
  reader.description.append(text, static_cast<size_t>(length));
}

// No game list declares entities; refusing them all rules out entity
// expansion bombs and external entities alike.
void XMLCALL EntityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
                               const XML_Char*, const XML_Char*, const XML_Char*) {
  Stop(*static_cast<XmlReader*>(data), "entity declarations are not allowed");
}

ParserPtr CreateParser(XmlReader& reader) {
  ParserPtr parser(XML_ParserCreate(nullptr));
  if (!parser) return parser;
  reader.parser = parser.get();
  XML_SetUserData(parser.get(), &reader);
  XML_SetElementHandler(parser.get(), StartElement, EndElement);
  XML_SetCharacterDataHandler(parser.get(), CharacterData);
  XML_SetEntityDeclHandler(parser.get(), EntityDeclaration);
  return parser;
}

std::string FaultMessage(const std::string& path, unsigned long line, const std::string& fault) {
  return "Damaged XML game list: \n\n'" + path + "'\n\nline " + std::to_string(line) + ": " + fault + " !";
}

// Feeds the file to the parser chunk by chunk. False, with `fault` set,
// when the document is refused; false without a fault on cancel.
bool FeedDocument(XmlReader& reader, std::FILE* file, std::string& fault, unsigned long& faultLine) {
  uint64_t fed = 0;
  for (;;) {
    void* buffer = XML_GetBuffer(reader.parser, static_cast<int>(kChunkSize));
    if (buffer == nullptr) {
      fault = "out of memory";
      break;
    }
    size_t count = std::fread(buffer, 1, kChunkSize, file);
    bool last = count == 0;  // a read error ends the text like its end
    fed += count;
    if (XML_ParseBuffer(reader.parser, static_cast<int>(count), last) != XML_STATUS_OK) {
      if (reader.cancelled) return false;
      if (!reader.failure.empty()) {
        fault = reader.failure;
        faultLine = reader.failureLine;
        return false;
      }
      fault = XML_ErrorString(XML_GetErrorCode(reader.parser));
      break;
    }
    if (last) return true;
    if (fed - reader.lastEventByte > kMaxPendingBytes) {
      fault = "a single token longer than " + std::to_string(kMaxPendingBytes) + " bytes";
      break;
    }
  }
  faultLine = XML_GetCurrentLineNumber(reader.parser);
  return false;
}

}  // namespace

bool ParseXmlGameList(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                      ListMessages& messages) {
  ScopedThreadPriority priority(kPriorityNormal);
  rawGames.clear();
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return false;
  XmlReader reader(rawGames, progress, FileSize(path).value_or(0), enableRomOf);
  ParserPtr parser = CreateParser(reader);
  if (!parser) return false;
  std::string fault;
  unsigned long faultLine = 0;
  if (!FeedDocument(reader, file.get(), fault, faultLine)) {
    if (!fault.empty()) messages.push_back(FaultMessage(path, faultLine, fault));
    return false;
  }
  return !rawGames.empty();
}

}  // namespace kestrel
