#include "gamedb/xml_document_parts.h"

#include <expat.h>
#include <sys/types.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "gamedb/expat_parser.h"

namespace kestrel {
namespace {

constexpr size_t kLargestPrologue = size_t{1} << 20;
constexpr size_t kCutSearchBytes = size_t{16} << 20;


// What the root's start tag handler fills in.
struct RootSearch {
  XML_Parser parser = nullptr;
  XmlPrologue* prologue = nullptr;
};

void XMLCALL NoteRootStart(void* data, const XML_Char* name, const XML_Char**) {
  RootSearch& search = *static_cast<RootSearch*>(data);
  XML_Index at = XML_GetCurrentByteIndex(search.parser);
  int count = XML_GetCurrentByteCount(search.parser);
  if (at >= 0 && count > 0) {
    search.prologue->text.resize(static_cast<size_t>(at) + static_cast<size_t>(count));
    search.prologue->rootName = name;
  }
  XML_StopParser(search.parser, XML_FALSE);
}

// Where the first game element at or after `from` begins.
std::optional<uint64_t> FindGameStart(std::FILE* file, uint64_t from) {
  std::string window(kCutSearchBytes, '\0');
  if (::fseeko(file, static_cast<off_t>(from), SEEK_SET) != 0) return std::nullopt;
  window.resize(std::fread(window.data(), 1, window.size(), file));
  size_t at = std::min(window.find("<machine "), window.find("<game "));
  if (at == std::string::npos) return std::nullopt;
  return from + at;
}

}  // namespace

std::optional<XmlPrologue> ReadXmlPrologue(std::FILE* file) {
  XmlPrologue prologue;
  prologue.text.resize(kLargestPrologue);
  if (::fseeko(file, 0, SEEK_SET) != 0) return std::nullopt;
  prologue.text.resize(std::fread(prologue.text.data(), 1, prologue.text.size(), file));
  ExpatParser parser(XML_ParserCreate(nullptr));
  if (!parser) return std::nullopt;
  RootSearch search{parser.get(), &prologue};
  XML_SetUserData(parser.get(), &search);
  XML_SetStartElementHandler(parser.get(), NoteRootStart);
  XML_Parse(parser.get(), prologue.text.data(), static_cast<int>(prologue.text.size()), XML_FALSE);
  if (prologue.rootName.empty()) return std::nullopt;
  return prologue;
}

std::vector<XmlStretch> CutXmlDocument(std::FILE* file, uint64_t fileSize, const XmlPrologue& prologue, unsigned parts) {
  std::vector<XmlStretch> cut(1);
  uint64_t start = prologue.text.size();
  for (unsigned i = 1; i < parts; ++i) {
    std::optional<uint64_t> at = FindGameStart(file, start + (fileSize - start) * i / parts);
    if (!at || *at <= cut.back().begin) continue;
    cut.back().end = *at;
    cut.emplace_back().begin = *at;
  }
  return cut;
}

}  // namespace kestrel
