#include "conservation/scenario.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>

#include "platform/text.h"
#include "support/crc_data.h"
#include "support/stored_zip.h"
#include "support/temp_folder.h"

namespace kestrel::testing {
namespace {

bool HoldsName(const auto& items, const std::string& name) {
  return std::ranges::any_of(items, [&](const auto& item) { return EqualsNoCase(item.first, name); });
}

// Every draw of the random stream stays in its order: the fixed seeds of
// the conservation test name scenarios that once made a tool lose a content.
class ScenarioMaker {
 public:
  ScenarioMaker(uint32_t seed, const std::vector<std::string>& romPaths, const std::string& source)
      : random_(seed), romPaths_(romPaths), source_(source) {}

  Scenario Make() {
    MakeGames();
    PlantSets();
    PlantFaults();
    PlantRebuildSources();
    return std::move(scenario_);
  }

 private:
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
  int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  template <typename T>
  T& Pick(std::vector<T>& items) { return items[size_t(Between(0, int(items.size()) - 1))]; }

  int NewContent(size_t size = 0) {
    std::string data(size != 0 ? size : size_t(Between(40, 400)), '\0');
    for (char& c : data) c = static_cast<char>(random_() & 0xFF);
    scenario_.contents.push_back(data);
    return int(scenario_.contents.size()) - 1;
  }
  const std::string& Data(int content) const { return scenario_.contents[size_t(content)]; }

  static std::vector<const ScenarioRom*> OwnRoms(const ScenarioGame& game) {
    std::vector<const ScenarioRom*> roms;
    for (const ScenarioRom& rom : game.roms)
      if (rom.merge.empty()) roms.push_back(&rom);
    return roms;
  }

  void MakeGames() {
    std::vector<ScenarioGame>& games = scenario_.games;
    bool withBios = Chance(0.5);
    if (withBios) games.push_back({"kbios", "", "", true, {{"bios1.bin", "", NewContent()}, {"bios2.bin", "", NewContent()}}});
    for (int p = 1, parents = Between(2, 3); p <= parents; ++p) {
      ScenarioGame parent{"game" + std::to_string(p), "", "", false, {}};
      for (int k = 0, own = Between(2, 3); k < own; ++k)
        parent.roms.push_back({parent.name + "_" + char('a' + k) + ".bin", "", NewContent()});
      if (withBios && Chance(0.6)) {
        parent.romOf = "kbios";
        for (const ScenarioRom& biosRom : games[0].roms)
          parent.roms.push_back({Chance(0.25) ? "b" + biosRom.name : biosRom.name, biosRom.name, biosRom.content});
      }
      games.push_back(parent);
      size_t parentIndex = games.size() - 1;
      for (int c = 1, clones = Between(1, 3); c <= clones; ++c) games.push_back(MakeClone(games[parentIndex], c, parentIndex));
    }
  }

  ScenarioGame MakeClone(const ScenarioGame& parent, int number, size_t parentIndex) {
    ScenarioGame clone{parent.name + "c" + std::to_string(number), parent.name, parent.name, false, {}};
    auto add = [&](const ScenarioRom& rom) {
      bool taken = std::ranges::any_of(clone.roms, [&](const ScenarioRom& r) { return EqualsNoCase(r.name, rom.name); });
      if (!taken) clone.roms.push_back(rom);
      return !taken;
    };
    std::vector<const ScenarioRom*> parentOwn = OwnRoms(parent);
    if (Chance(0.35)) add({Pick(parentOwn)->name, "", NewContent()});  // named like the parent's, other contents
    if (number > 1 && Chance(0.35)) {
      std::vector<const ScenarioRom*> siblingOwn = OwnRoms(scenario_.games[parentIndex + size_t(Between(1, number - 1))]);
      add({Pick(siblingOwn)->name, "", NewContent()});  // named like an older sibling's
    }
    for (const ScenarioRom* shared : parentOwn) {
      if (Chance(0.6) && (!Chance(0.2) || !add({"r" + shared->name, shared->name, shared->content})))
        add({shared->name, shared->name, shared->content});
    }
    for (int k = 0, own = Between(1, 2); k < own; ++k) add({clone.name + "_" + char('a' + k) + ".bin", "", NewContent()});
    for (const ScenarioRom& rom : parent.roms)
      if (!rom.merge.empty()) add({rom.name, rom.name, rom.content});
    return clone;
  }

  // Families' sets in a layout (0 split, 1 merged, 2 non-merged, or 3: each
  // family its own), each a zip or a folder in a random ROM path.
  void PlantSets() {
    int mode = Between(0, 3);
    for (const ScenarioGame& game : scenario_.games) {
      if (game.isBios) PlantSet(game.name, Members(game, true));
      if (game.isBios || !game.cloneOf.empty()) continue;
      int layout = mode == 3 ? Between(0, 2) : mode;
      std::vector<const ScenarioGame*> clones;
      for (const ScenarioGame& other : scenario_.games)
        if (other.cloneOf == game.name) clones.push_back(&other);
      if (layout == 1) {
        PlantMergedFamily(game, clones);
        continue;
      }
      PlantSet(game.name, Members(game, layout == 2));
      for (const ScenarioGame* clone : clones) PlantSet(clone->name, Members(*clone, layout == 2));
    }
  }

  // A merged set; a clone ROM named like one already in it goes in as a
  // twin member (zips only) or into a set of the clone's own.
  void PlantMergedFamily(const ScenarioGame& parent, const std::vector<const ScenarioGame*>& clones) {
    bool isZip = Chance(0.6);
    bool twins = isZip && Chance(0.5);
    ZipMembers members = Members(parent, false);
    for (const ScenarioGame* clone : clones) {
      ZipMembers leftOver;
      for (const auto& member : Members(*clone, false))
        (twins || !HoldsName(members, member.first) ? members : leftOver).push_back(member);
      if (!leftOver.empty()) PlantSet(clone->name, leftOver);
    }
    PlantSet(parent.name, members, isZip);
  }

  ZipMembers Members(const ScenarioGame& game, bool withShared) {
    ZipMembers members;
    for (const ScenarioRom& rom : game.roms)
      if (withShared || rom.merge.empty()) members.emplace_back(rom.name, Data(rom.content));
    return members;
  }

  void PlantSet(const std::string& name, const ZipMembers& members, int isZip = -1) {
    std::string path = Pick(romPaths_) + name;
    scenario_.sets.push_back({path, isZip < 0 ? Chance(0.6) : isZip == 1, members});
  }

  static std::string SetName(const PlantedSet& set) {
    return set.path.substr(set.path.rfind('/', set.path.size() - 2) + 1) + (set.isZip ? ".zip" : "/");
  }
  PlantedSet* PickNonEmptySet() {
    for (int attempt = 0; attempt < 10; ++attempt)
      if (PlantedSet& set = Pick(scenario_.sets); !set.members.empty()) return &set;
    return nullptr;
  }

  // Missing, misnamed, misplaced and bad ROMs, twin members, readmes, an
  // older copy of a set in the other ROM path, an unknown set, a damaged zip.
  void PlantFaults() {
    for (int i = 0, missing = Between(0, 2); i < missing; ++i) {
      if (PlantedSet* set = PickNonEmptySet()) {
        size_t at = size_t(Between(0, int(set->members.size()) - 1));
        missingContents_.push_back(set->members[at].second);
        set->members.erase(set->members.begin() + long(at));
      }
    }
    if (Chance(0.5))
      if (PlantedSet* set = PickNonEmptySet()) Pick(set->members).first.insert(0, "x");
    if (Chance(0.5)) {
      PlantedSet* from = PickNonEmptySet();
      PlantedSet& to = Pick(scenario_.sets);
      if (from != nullptr && from != &to && (to.isZip || !HoldsName(to.members, from->members.back().first))) {
        to.members.push_back(from->members.back());
        from->members.pop_back();
      }
    }
    if (Chance(0.4)) {
      if (PlantedSet* set = PickNonEmptySet()) {
        auto& member = Pick(set->members);
        missingContents_.push_back(member.second);  // the good one may turn up among the sources
        member.second = Data(NewContent(member.second.size()));  // a bad dump keeps its size
      }
    }
    if (Chance(0.35)) {
      PlantedSet& set = Pick(scenario_.sets);
      if (set.isZip && !set.members.empty()) {
        std::string twin = Pick(set.members).first;
        set.members.emplace_back(twin, Data(NewContent()));
      }
    }
    if (Chance(0.6)) {
      PlantedSet& set = Pick(scenario_.sets);
      if (!HoldsName(set.members, "readme.txt"))
        set.members.emplace_back("readme.txt", "A note left in " + SetName(set) + " " + Data(NewContent()));
    }
    if (Chance(0.4)) scenario_.files.push_back({Pick(romPaths_) + "readme.txt", "About this collection " + Data(NewContent())});
    if (Chance(0.4)) {
      PlantedSet& set = Pick(scenario_.sets);
      std::string otherPath = set.path.rfind(romPaths_[0], 0) == 0 ? romPaths_[1] : romPaths_[0];
      PlantedSet stale{otherPath + set.path.substr(set.path.rfind('/') + 1), Chance(0.5), {}};
      for (const auto& member : set.members)
        if (Chance(0.5)) stale.members.push_back(member);
      if (Chance(0.5)) stale.members.emplace_back("extra.bin", Data(NewContent()));
      scenario_.sets.push_back(stale);
    }
    if (Chance(0.3)) PlantSet("oldset", {{"old.bin", Data(NewContent())}});
    if (Chance(0.5)) {
      PlantedSet& set = Pick(scenario_.sets);
      set.damaged = set.isZip && !set.members.empty();
    }
  }

  // Loose files and a zip with ROMs (the missing ones among them), a file
  // named like a ROM but of other contents, and a readme.
  void PlantRebuildSources() {
    std::vector<int> romContents;
    for (const ScenarioGame& game : scenario_.games)
      for (const ScenarioRom& rom : game.roms) romContents.push_back(rom.content);
    for (int i = 0, count = Between(2, 5); i < count; ++i)
      scenario_.files.push_back({source_ + (Chance(0.3) ? "sub/" : "") + "dump" + std::to_string(i) + ".bin",
                                 Data(Pick(romContents))});
    for (size_t i = 0; i < missingContents_.size(); ++i)
      if (Chance(0.7)) scenario_.files.push_back({source_ + "found" + std::to_string(i) + ".bin", missingContents_[i]});
    if (Chance(0.5)) {
      ZipMembers members;
      for (int i = 0; i < 3; ++i) members.emplace_back("part" + std::to_string(i) + ".bin", Data(Pick(romContents)));
      scenario_.files.push_back({source_ + "pack.zip", StoredZip(members)});
    }
    if (Chance(0.4)) scenario_.files.push_back({source_ + Pick(scenario_.games).roms.front().name, Data(NewContent())});
    if (Chance(0.5)) scenario_.files.push_back({source_ + "readme.txt", "Where these came from " + Data(NewContent())});
  }

  std::mt19937 random_;
  std::vector<std::string> romPaths_;
  std::string source_;
  Scenario scenario_;
  std::vector<std::string> missingContents_;
};

// Breaks a zip so that no reader takes it: cut short, or the central
// directory's signatures overwritten.
std::string Damaged(std::string bytes) {
  if (bytes.size() % 2 == 0) return bytes.substr(0, bytes.size() * 2 / 3);
  for (size_t at = bytes.find("PK\1\2"); at != std::string::npos; at = bytes.find("PK\1\2", at)) bytes[at] = 'X';
  return bytes;
}

}  // namespace

Scenario MakeScenario(uint32_t seed, const std::vector<std::string>& romPaths, const std::string& source) {
  return ScenarioMaker(seed, romPaths, source).Make();
}

std::string DatfileText(const Scenario& scenario, const std::set<int>& noDumps) {
  std::string text;
  for (const ScenarioGame& game : scenario.games) {
    text += std::string(game.isBios ? "resource" : "game") + " ( name " + game.name + " description \"" + game.name + "\"";
    if (!game.cloneOf.empty()) text += " cloneof " + game.cloneOf;
    if (!game.romOf.empty()) text += " romof " + game.romOf;
    text += "\n";
    for (const ScenarioRom& rom : game.roms) {
      const std::string& data = scenario.contents[size_t(rom.content)];
      char crc[9];
      std::snprintf(crc, sizeof crc, "%08x", noDumps.count(rom.content) != 0 ? 0 : CrcOf(data));
      text += "  rom ( name " + rom.name + (rom.merge.empty() ? "" : " merge " + rom.merge) + " size " +
              std::to_string(data.size()) + " crc " + crc + " )\n";
    }
    text += ")\n";
  }
  return text;
}

void WriteScenario(const Scenario& scenario) {
  for (const PlantedSet& set : scenario.sets) {
    if (set.isZip && !set.members.empty())  // a zip needs a member
      WriteFile(set.path + ".zip", set.damaged ? Damaged(StoredZip(set.members)) : StoredZip(set.members));
    if (set.isZip) continue;
    std::filesystem::create_directories(set.path);
    for (const auto& [name, data] : set.members) WriteFile(set.path + "/" + name, data);
  }
  for (const auto& [path, data] : scenario.files) WriteFile(path, data);
}

}  // namespace kestrel::testing
