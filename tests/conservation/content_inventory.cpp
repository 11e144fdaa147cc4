#include "conservation/content_inventory.h"

#include <cstdio>
#include <filesystem>

#include "archive/zip_reader.h"
#include "platform/file_system.h"
#include "support/crc_data.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

void AddContent(Inventory& inventory, const std::string& data, const std::string& where) {
  inventory[{CrcOf(data), data.size()}].push_back(where);
}

bool EndsWithZip(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".zip";
}

// A zip's members; false (and nothing added) unless every member extracts.
bool AddZipMembers(Inventory& inventory, const std::string& path, const std::string& scratch) {
  ZipEntryList members;
  if (!ReadZipDirectory(path, members, false, false)) return false;
  Inventory found;
  for (const ZipEntry& member : members) {
    bool extracted = ExtractZipEntry(member, scratch);
    if (extracted) AddContent(found, ReadFile(scratch), path + ":" + member.storedName);
    std::remove(scratch.c_str());
    if (!extracted) return false;
  }
  for (auto& [key, places] : found) inventory[key].insert(inventory[key].end(), places.begin(), places.end());
  return true;
}

}  // namespace

Inventory TakeInventory(const std::vector<std::string>& folders, const std::string& scratch) {
  Inventory inventory;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder, error)) {
      if (!item.is_regular_file()) continue;
      std::string path = item.path().string();
      if (EndsWithZip(path) && AddZipMembers(inventory, path, scratch)) continue;
      AddContent(inventory, ReadFile(path), path);
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
