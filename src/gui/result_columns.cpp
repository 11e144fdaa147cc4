#include "gui/result_columns.h"

namespace kestrel {
namespace {

constexpr std::string_view kFolderMark = " [folder: ";
constexpr std::string_view kParentMark = " - parent: ";

// The value of "[label: value]" in `text`, or empty when absent.
std::string_view BracketValue(std::string_view text, std::string_view label) {
  const std::string open = "[" + std::string(label) + ": ";
  const size_t start = text.find(open);
  if (start == std::string_view::npos) return {};
  const size_t from = start + open.size();
  const size_t end = text.find(']', from);
  return text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
}

// "[length: 1024] [chksum: 1a2b (e5d4)]" reads as the listed size and CRC.
std::string_view ExpectedOf(std::string_view text) {
  if (std::string_view right = BracketValue(text, "right"); !right.empty()) return right;
  if (std::string_view sha1 = BracketValue(text, "sha1"); !sha1.empty()) return sha1;
  const size_t start = text.find("[length: ");
  if (start == std::string_view::npos) return {};
  const size_t end = text.find(']', text.find("[chksum: ", start));
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start + 1);
}

// A game's own findings name the game, which the game column shows already.
bool NamesTheGame(ResultKind kind) { return kind == kResultMissingGame || kind == kResultGameCase; }

}  // namespace

HeaderColumns SplitHeader(std::string_view text) {
  HeaderColumns columns;
  const size_t folder = text.rfind(kFolderMark);
  if (folder == std::string_view::npos || text.back() != ']') {
    columns.game = text;
    return columns;
  }
  columns.game = text.substr(0, folder);
  std::string_view inside = text.substr(folder + kFolderMark.size());
  inside.remove_suffix(1);
  const size_t parent = inside.find(kParentMark);
  columns.set = inside.substr(0, parent);
  if (parent != std::string_view::npos) columns.parent = inside.substr(parent + kParentMark.size());
  return columns;
}

FindingColumns SplitFinding(std::string_view text, ResultKind kind) {
  FindingColumns columns;
  const size_t colon = text.find(": ");
  // A verdict names no ROM: it is read whole, reasons and all.
  if (colon == std::string_view::npos || kind == kResultRomSetVerdict || kind == kResultSampleSetVerdict) {
    columns.finding = text;
    return columns;
  }
  columns.finding = text.substr(0, colon);
  std::string_view rest = text.substr(colon + 2);
  // Sample spellings run straight into "[wrong: " without a space.
  const size_t bracket = rest.find(" [") < rest.find("[wrong: ") ? rest.find(" [") : rest.find("[wrong: ");
  const std::string_view subject = rest.substr(0, bracket);
  if (!NamesTheGame(kind)) {
    (subject.find('/') != std::string_view::npos ? columns.path : columns.rom) = subject;
  }
  columns.expected = ExpectedOf(rest);
  columns.found = BracketValue(rest, "wrong");
  if (columns.found.empty()) columns.found = BracketValue(rest, "version");
  return columns;
}

const char* FindingKindName(ResultKind kind) {
  switch (kind) {
    case kResultWrongChecksum: return "wrong checksum";
    case kResultMissingRom: return "missing rom or disk";
    case kResultBadDump: return "bad dump";
    case kResultWrongLength: return "wrong length";
    case kResultMissingSample: return "missing sample";
    case kResultMissingSetHeader: return "missing set";
    case kResultGameHeader: return "game";
    case kResultMissingGame: return "missing game";
    case kResultRomCase: return "wrong spelling of a rom";
    case kResultSampleCase: return "wrong spelling of a sample";
    case kResultGameCase: return "wrong spelling of a set";
    case kResultUnneeded: return "unneeded";
    case kResultRomName: return "wrong name of a rom";
    case kResultGameName: return "wrong name of a set";
    case kResultUnreadable: return "unreadable";
    case kResultRomSetVerdict: return "verdict on the rom set";
    case kResultSampleSetVerdict: return "verdict on the sample set";
  }
  return "";
}

}  // namespace kestrel
