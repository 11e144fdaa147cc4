#include "gamedb/software_list_name.h"

#include <expat.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "gamedb/expat_parser.h"
#include "platform/paths.h"

namespace kestrel {
namespace {

// A root element further in than this is no list MAME wrote: its files
// start with a comment of a few kilobytes at most.
constexpr size_t kMaxPrologueBytes = size_t{1} << 20;

struct Root {
  XML_Parser parser = nullptr;
  bool seen = false;
  std::optional<std::string> name;
};

void XMLCALL StartRoot(void* data, const XML_Char* element, const XML_Char** attributes) {
  Root& root = *static_cast<Root*>(data);
  root.seen = true;
  if (std::strcmp(element, "softwarelist") == 0) {
    for (int i = 0; attributes[i] != nullptr; i += 2)
      if (std::strcmp(attributes[i], "name") == 0) root.name = attributes[i + 1];
  }
  XML_StopParser(root.parser, XML_FALSE);
}

// The longest tag looked at for a file's name.
constexpr size_t kMaxTag = size_t{1} << 16;

// "<rom ... name=" or "<disk ... name=", the name attribute anywhere.
bool IsNamedFileTag(std::string_view tag) {
  if (tag.rfind("<rom", 0) != 0 && tag.rfind("<disk", 0) != 0) return false;
  for (size_t at = tag.find("name="); at != std::string_view::npos; at = tag.find("name=", at + 1)) {
    const char before = tag[at - 1];
    if (before == ' ' || before == '\t' || before == '\n' || before == '\r') return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> ReadSoftwareListName(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return std::nullopt;
  ExpatParser parser(XML_ParserCreate(nullptr));
  if (!parser) return std::nullopt;
  Root root;
  root.parser = parser.get();
  XML_SetUserData(parser.get(), &root);
  XML_SetStartElementHandler(parser.get(), StartRoot);
  char buffer[8192];
  for (size_t read = 0; !root.seen && read < kMaxPrologueBytes;) {
    const size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    read += got;
    if (XML_Parse(parser.get(), buffer, static_cast<int>(got), got == 0) == XML_STATUS_ERROR) break;
    if (got == 0) break;
  }
  if (!root.name || !IsPlainFileName(*root.name)) return std::nullopt;
  return root.name;
}

bool NamesAnyFile(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) return true;
  std::string text;  // what is read and not yet looked at: at most a tag cut off by a read
  char buffer[1 << 16];
  while (size_t got = std::fread(buffer, 1, sizeof buffer, file.get())) {
    text.append(buffer, got);
    size_t at = 0;
    for (;;) {
      const size_t open = text.find('<', at);
      const size_t close = open == std::string::npos ? open : text.find('>', open);
      if (close == std::string::npos) {
        at = open == std::string::npos ? text.size() : open;
        break;
      }
      if (IsNamedFileTag(std::string_view(text).substr(open, close - open))) return true;
      at = close + 1;
    }
    text.erase(0, at);
    // A tag this long is no ROM's: dropped, so a hostile file cannot grow it.
    if (text.size() > kMaxTag) text.clear();
  }
  return false;
}

}  // namespace kestrel
