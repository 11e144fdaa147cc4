#include "gamedb/xml_game_list.h"

#include <expat.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <future>
#include <memory>
#include <string_view>
#include <thread>
#include <vector>

#include "gamedb/byte_progress.h"
#include "gamedb/expat_parser.h"
#include "gamedb/list_values.h"
#include "gamedb/xml_document_parts.h"
#include "platform/file_system.h"
#include "platform/thread_priority.h"

namespace kestrel {
namespace {

constexpr size_t kChunkSize = size_t{1} << 20;
// Expat keeps an unfinished token in its buffer until the token ends; a
// stretch without any event longer than this is a token no list has.
constexpr uint64_t kMaxPendingBytes = uint64_t{16} << 20;

using ParserPtr = ExpatParser;

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
  bool inSoftware = false;  // the open game element is a software list's <software>
  GameSet game;
  bool inDescription = false;
  std::string description;

  std::string failure;  // why the reader stopped the parser itself
  unsigned long failureLine = 0;
  bool cancelled = false;
  uint64_t lastEventByte = 0;
  uint64_t fed = 0;  // bytes given to the parser so far
  // Set when another part of the document was cancelled; null for a whole one.
  const std::atomic<bool>* stopAsked = nullptr;
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

void BeginGame(XmlReader& reader, const XML_Char** attributes, bool software) {
  reader.gameDepth = reader.depth;
  reader.inSoftware = software;
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
  game.rules = software ? ListRules::kSoftwareList : ListRules::kMame;
}


// A ROM without crc is one without a known dump (MAME's lists also say so
// by status="nodump"); a ROM without a name or
// with no positive size is not kept, as in the text form.
void AddRom(GameSet& game, const XML_Char** attributes) {
  RomEntry rom;
  rom.name = AttributeValue(attributes, "name");
  rom.merge = AttributeValue(attributes, "merge");
  ReadRomSize(AttributeValue(attributes, "size"), rom.size);
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
    if (std::strcmp(name, "game") == 0 || std::strcmp(name, "machine") == 0) BeginGame(reader, attributes, false);
    if (std::strcmp(name, "software") == 0) BeginGame(reader, attributes, true);
    return;
  }
  // A software item keeps its ROMs in <part><dataarea> and its disks in
  // <part><diskarea>; a machine or game keeps them as its own children.
  const int below = reader.depth - reader.gameDepth;
  const bool atRomLevel = below == (reader.inSoftware ? 3 : 1);
  if (std::strcmp(name, "rom") == 0) {
    if (atRomLevel) AddRom(reader.game, attributes);
    return;
  }
  if (std::strcmp(name, "disk") == 0) {
    if (atRomLevel) AddDisk(reader.game, attributes);
    return;
  }
  if (below != 1) return;
  if (std::strcmp(name, "sample") == 0) {
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
  // Sets without ROMs or disks are taken out once the whole list is read.
  if (!game.name.empty() && !game.description.empty()) {
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

// Why the parser stopped: nothing on a cancel.
void TakeFault(const XmlReader& reader, std::string& fault, unsigned long& faultLine) {
  if (reader.cancelled) return;
  if (!reader.failure.empty()) {
    fault = reader.failure;
    faultLine = reader.failureLine;
    return;
  }
  fault = XML_ErrorString(XML_GetErrorCode(reader.parser));
  faultLine = XML_GetCurrentLineNumber(reader.parser);
}

bool Parse(XmlReader& reader, std::string_view text, bool last) {
  reader.fed += text.size();
  return XML_Parse(reader.parser, text.data(), static_cast<int>(text.size()), last) == XML_STATUS_OK;
}

// Feeds up to `length` bytes of `file`, from where it stands, to the parser
// chunk by chunk, then `tail`; the document ends there. False, with `fault`
// set, when the document is refused; false without a fault on cancel.
bool FeedDocument(XmlReader& reader, std::FILE* file, uint64_t length, std::string_view tail, std::string& fault,
                  unsigned long& faultLine) {
  for (;;) {
    void* buffer = XML_GetBuffer(reader.parser, static_cast<int>(kChunkSize));
    if (buffer == nullptr) {
      fault = "out of memory";
      faultLine = XML_GetCurrentLineNumber(reader.parser);
      return false;
    }
    size_t count = std::fread(buffer, 1, static_cast<size_t>(std::min<uint64_t>(kChunkSize, length)), file);
    length -= count;
    bool end = count == 0;  // a read error ends the text like its end
    reader.fed += count;
    if (XML_ParseBuffer(reader.parser, static_cast<int>(count), end && tail.empty()) != XML_STATUS_OK) {
      TakeFault(reader, fault, faultLine);
      return false;
    }
    if (end) break;
    if (reader.stopAsked != nullptr && reader.stopAsked->load()) {
      reader.cancelled = true;
      return false;
    }
    if (reader.fed - reader.lastEventByte > kMaxPendingBytes) {
      fault = "a single token longer than " + std::to_string(kMaxPendingBytes) + " bytes";
      faultLine = XML_GetCurrentLineNumber(reader.parser);
      return false;
    }
  }
  if (!tail.empty() && !Parse(reader, tail, true)) {
    TakeFault(reader, fault, faultLine);
    return false;
  }
  return true;
}

// Reading a large list on every core: the document is cut before game
// elements into parts of about equal size, and each part is read by a
// parser of its own as a document of its own: the document's start up to
// and with its root's start tag, the part, and the root's end tag. The
// games of the parts, one after the other, are the document's games. Only
// when every part reads without a fault is the document whole (each part
// ends where the next begins, outside any markup, with the root alone
// open); on any fault the document is read again in one piece, so that the
// fault is told as that reading finds it.
constexpr uint64_t kSmallestSplitList = uint64_t{1} << 20;

// One part of the document and what reading it gave.
struct DocumentPart {
  XmlStretch stretch;
  GameList games;
  std::string fault;
  bool cancelled = false;
};

// Reads one part with a parser of its own into `part.games`.
void ReadPart(const std::string& path, const XmlPrologue& prologue, DocumentPart& part, ProgressDialog& progress,
              uint64_t fileSize, bool enableRomOf, const std::atomic<bool>* stopAsked) {
  FilePtr file(OpenFile(path, "rb"));
  const XmlStretch& stretch = part.stretch;
  if (!file || ::fseeko(file.get(), static_cast<off_t>(stretch.begin), SEEK_SET) != 0) {
    part.fault = "read error";
    return;
  }
  XmlReader reader(part.games, progress, fileSize, enableRomOf);
  reader.stopAsked = stopAsked;
  ParserPtr parser = CreateParser(reader);
  if (!parser) {
    part.fault = "out of memory";
    return;
  }
  unsigned long line = 0;
  bool first = stretch.begin == 0;
  if (!first && !Parse(reader, prologue.text, false)) return TakeFault(reader, part.fault, line);
  uint64_t length = stretch.end == 0 ? UINT64_MAX : stretch.end - stretch.begin;
  std::string tail = stretch.end == 0 ? "" : "</" + prologue.rootName + ">";
  FeedDocument(reader, file.get(), length, tail, part.fault, line);
  part.cancelled = reader.cancelled;
}

// The games of the document read in parts; nothing when it is too small to
// cut or a part could not be read whole.
std::optional<GameList> ReadInParts(const std::string& path, ProgressDialog& progress, bool enableRomOf, bool& cancelled) {
  uint64_t fileSize = FileSize(path).value_or(0);
  unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  if (fileSize < kSmallestSplitList || cores < 2) return std::nullopt;
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return std::nullopt;
  std::optional<XmlPrologue> prologue = ReadXmlPrologue(file.get());
  if (!prologue) return std::nullopt;
  std::vector<XmlStretch> stretches = CutXmlDocument(file.get(), fileSize, *prologue, cores);
  if (stretches.size() < 2) return std::nullopt;
  std::vector<DocumentPart> parts(stretches.size());
  for (size_t i = 0; i < parts.size(); ++i) parts[i].stretch = stretches[i];

  std::atomic<bool> stopAsked{false};
  std::vector<std::future<void>> others;
  std::vector<std::unique_ptr<ProgressDialog>> silent;
  for (size_t i = 1; i < parts.size(); ++i) {
    silent.push_back(OpenProgressDialog(nullptr, ""));
    others.push_back(std::async(std::launch::async, ReadPart, std::cref(path), std::cref(*prologue),
                                std::ref(parts[i]), std::ref(*silent.back()), fileSize, enableRomOf, &stopAsked));
  }
  // The first part on this thread: the progress dialog belongs to it.
  ReadPart(path, *prologue, parts[0], progress, fileSize, enableRomOf, nullptr);
  if (parts[0].cancelled) stopAsked = true;
  for (std::future<void>& other : others) other.get();
  cancelled = parts[0].cancelled;
  GameList games;
  for (DocumentPart& part : parts) {
    if (!part.fault.empty() || part.cancelled) {
      if (cancelled) break;
      return std::nullopt;
    }
    std::move(part.games.begin(), part.games.end(), std::back_inserter(games));
  }
  return games;
}

}  // namespace

bool ParseXmlGameList(GameList& rawGames, const std::string& path, ProgressDialog& progress, bool enableRomOf,
                      ListMessages& messages, RomlessMachines* romless) {
  ScopedThreadPriority priority(kPriorityNormal);
  rawGames.clear();
  bool cancelled = false;
  if (std::optional<GameList> games = ReadInParts(path, progress, enableRomOf, cancelled)) {
    rawGames = std::move(*games);
    TakeRomlessMachines(rawGames, romless);
    return !cancelled && !rawGames.empty();
  }
  if (cancelled) return false;
  FilePtr file(OpenFile(path, "rb"));
  if (!file) return false;
  XmlReader reader(rawGames, progress, FileSize(path).value_or(0), enableRomOf);
  ParserPtr parser = CreateParser(reader);
  if (!parser) return false;
  std::string fault;
  unsigned long faultLine = 0;
  if (!FeedDocument(reader, file.get(), UINT64_MAX, "", fault, faultLine)) {
    if (!fault.empty()) messages.push_back(FaultMessage(path, faultLine, fault));
    return false;
  }
  TakeRomlessMachines(rawGames, romless);
  return !rawGames.empty();
}

}  // namespace kestrel
