#include "conservation/content_inventory.h"

#include <cstdio>
#include <filesystem>

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "support/crc_data.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

void AddContent(Inventory& inventory, const std::string& data, const std::string& where) {
  inventory[{CrcOf(data), data.size()}].push_back(where);
}

bool EndsWithZip(const std::string& path) {
  return path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".zip");
}

// Files the tools write beside the one they replace, before the rename:
// never the user's, and left behind only by a write that broke off.
bool IsToolTemporary(const std::string& name) {
  if (name.rfind(".kestrel-", 0) == 0 && name.size() > 4 && name.substr(name.size() - 4) == ".tmp") return true;
  size_t dot = name.rfind('.');
  return dot != std::string::npos && dot >= 4 && name.size() - dot == 7 && EndsWithZip(name.substr(0, dot));
}

// A file's contents: a readable zip's members (a zip inside one, as a
// backup holds a whole set, by its members too), else its bytes.
void AddFile(Inventory& inventory, const std::string& path, const std::string& where, const std::string& scratch,
             int depth) {
  ZipEntryList members;
  if (EndsWithZip(where) && ReadZipDirectory(RealFileSystem(), path, members, false, nullptr)) {
    std::string memberScratch = scratch + std::to_string(depth);
    Inventory found;
    bool whole = true;
    for (const ZipEntry& member : members) {
      whole = ExtractZipEntry(RealFileSystem(), member, memberScratch);
      if (whole) AddFile(found, memberScratch, where + ":" + member.storedName, scratch, depth + 1);
      std::remove(memberScratch.c_str());
      if (!whole) break;
    }
    if (whole) {
      for (auto& [key, places] : found) inventory[key].insert(inventory[key].end(), places.begin(), places.end());
      return;
    }
  }
  std::string bytes = ReadFile(path);
  // An empty zip is its end record alone: it holds nothing to keep.
  if (bytes.size() == 22 && bytes.rfind("PK\5\6", 0) == 0) return;
  AddContent(inventory, bytes, where);
}

}  // namespace

Inventory TakeInventory(const std::vector<std::string>& folders, const std::string& scratch) {
  Inventory inventory;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder, error)) {
      if (!item.is_regular_file() || IsToolTemporary(item.path().filename().string())) continue;
      std::string path = item.path().string();
      AddFile(inventory, path, path, scratch, 0);
    }
  }
  return inventory;
}

std::vector<std::string> LostContents(const Inventory& before, const Inventory& after) {
  std::vector<std::string> lost;
  for (const auto& [key, places] : before) {
    if (after.count(key) != 0) continue;
    char line[64];
    std::snprintf(line, sizeof line, "crc %08x size %llu, was at", key.crc, static_cast<unsigned long long>(key.size));
    std::string text = line;
    for (const std::string& place : places) text += " " + place;
    lost.push_back(text);
  }
  return lost;
}

}  // namespace kestrel::testing
