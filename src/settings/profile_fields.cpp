#include "settings/profile_fields.h"

#include <algorithm>
#include <cstdio>

#include "settings/stored_fields.h"

namespace kestrel {
namespace {

using FieldLines = std::vector<std::pair<std::string, std::string>>;

std::string HexCrc(uint32_t crc) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", crc);
  return text;
}

struct FieldLister {
  FieldLines lines;

  bool Add(const std::string& name, const std::string& value) {
    lines.emplace_back(name, value);
    return true;
  }
  bool Flag(const char* name, bool value) { return Add(name, value ? "1" : "0"); }
  bool Int(const char* name, int32_t value) { return Add(name, std::to_string(value)); }
  bool Layout(const char* name, SetLayout layout, LayoutCodes codes) { return Int(name, LayoutCode(layout, codes)); }
  bool Text(const char* name, const std::string& value) { return Add(name, value); }
  bool Paths(const std::string& name, const PathList& list) {
    Add(name, std::to_string(list.size()) + " entries");
    for (size_t i = 0; i < list.size(); ++i) {
      Add(name + "[" + std::to_string(i) + "]",
          list[i].path + (list[i].enabled ? " (enabled)" : " (disabled)"));
    }
    return true;
  }
  bool Selection(const SettingsRecord& r) {
    const std::vector<uint8_t>& bytes = r.gameSelectionBytes;
    auto selected = std::count(bytes.begin(), bytes.end(), uint8_t{1});
    return Add("storedDataCrc", HexCrc(r.storedDataCrc)) && Int("storedGameCount", r.storedGameCount) &&
           Add("gameSelectionBytes",
               std::to_string(bytes.size()) + " games, " + std::to_string(selected) + " selected");
  }
  // Fields an older profile lacks show the defaults it was loaded with.
  bool Since(int32_t) const { return true; }
};

}  // namespace

FieldLines DescribeProfileFields(const SettingsRecord& r) {
  FieldLister lister;
  VisitStoredFields(r, lister);
  return lister.lines;
}

}  // namespace kestrel
