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

enum class SetLayout { kSplit, kMerged, kNonMerged };
const char* const kLayoutNames[] = {"split", "merged", "non-merged"};

bool HoldsName(const ZipMembers& members, const std::string& name) {
  return std::ranges::any_of(members, [&](const auto& member) { return EqualsNoCase(member.first, name); });
}

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
  void Note(const std::string& text) { scenario_.notes.push_back(text); }

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
    if (withBios) {
      ScenarioGame bios{"kbios", "", "", true, {}};
      bios.roms = {{"bios1.bin", "", NewContent()}, {"bios2.bin", "", NewContent()}};
      games.push_back(bios);
    }
    int parents = Between(2, 3);
    for (int p = 1; p <= parents; ++p) {
      ScenarioGame parent{"game" + std::to_string(p), "", "", false, {}};
      int own = Between(2, 3);
      for (int k = 0; k < own; ++k) parent.roms.push_back({parent.name + "_" + char('a' + k) + ".bin", "", NewContent()});
      if (withBios && Chance(0.6)) {
        parent.romOf = "kbios";
        for (const ScenarioRom& biosRom : games[0].roms)
          parent.roms.push_back({Chance(0.25) ? "b" + biosRom.name : biosRom.name, biosRom.name, biosRom.content});
      }
      games.push_back(parent);
      size_t parentIndex = games.size() - 1;
      int clones = Between(1, 3);
      for (int c = 1; c <= clones; ++c) games.push_back(MakeClone(games[parentIndex], c, parentIndex));
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
    if (Chance(0.35)) {
      const ScenarioRom* clash = parentOwn[size_t(Between(0, int(parentOwn.size()) - 1))];
      if (add({clash->name, "", NewContent()}))
        Note(clone.name + " has its own " + clash->name + ", named like " + parent.name + "'s");
    }
    if (number > 1 && Chance(0.35)) {
      const ScenarioGame& sibling = scenario_.games[parentIndex + size_t(Between(1, number - 1))];
      std::vector<const ScenarioRom*> siblingOwn = OwnRoms(sibling);
      const ScenarioRom* clash = siblingOwn[size_t(Between(0, int(siblingOwn.size()) - 1))];
      if (add({clash->name, "", NewContent()}))
        Note(clone.name + " has its own " + clash->name + ", named like " + sibling.name + "'s");
    }
    for (const ScenarioRom* shared : parentOwn) {
      if (!Chance(0.6)) continue;
      if (Chance(0.2) && add({"r" + shared->name, shared->name, shared->content}))
        Note(clone.name + " shares " + parent.name + "'s " + shared->name + " as r" + shared->name);
      else
        add({shared->name, shared->name, shared->content});
    }
    int own = Between(1, 2);
    for (int k = 0; k < own; ++k) add({clone.name + "_" + char('a' + k) + ".bin", "", NewContent()});
    for (const ScenarioRom& rom : parent.roms)
      if (!rom.merge.empty()) add({rom.name, rom.name, rom.content});
    return clone;
  }

  // Families' sets in a layout, each a zip or a folder in a random ROM path.
  void PlantSets() {
    int mode = Between(0, 3);  // 3: every family its own layout
    for (size_t i = 0; i < scenario_.games.size(); ++i) {
      const ScenarioGame& game = scenario_.games[i];
      if (game.isBios) {
        PlantSet(game.name, AllMembers(game));
        continue;
      }
      if (!game.cloneOf.empty()) continue;
      SetLayout layout = static_cast<SetLayout>(mode == 3 ? Between(0, 2) : mode);
      Note(game.name + "'s family is " + kLayoutNames[int(layout)]);
      std::vector<const ScenarioGame*> clones;
      for (const ScenarioGame& other : scenario_.games)
        if (other.cloneOf == game.name) clones.push_back(&other);
      if (layout == SetLayout::kNonMerged) {
        PlantSet(game.name, AllMembers(game));
        for (const ScenarioGame* clone : clones) PlantSet(clone->name, AllMembers(*clone));
      } else if (layout == SetLayout::kSplit) {
        PlantSet(game.name, OwnMembers(game));
        for (const ScenarioGame* clone : clones) PlantSet(clone->name, OwnMembers(*clone));
      } else {
        PlantMergedFamily(game, clones);
      }
    }
  }

  // A merged set; a clone ROM named like one already in it goes in as a
  // twin member (zips only) or into a set of the clone's own.
  void PlantMergedFamily(const ScenarioGame& parent, const std::vector<const ScenarioGame*>& clones) {
    bool isZip = Chance(0.6);
    bool twins = isZip && Chance(0.5);
    ZipMembers members = OwnMembers(parent);
    for (const ScenarioGame* clone : clones) {
      ZipMembers leftOver;
      for (const auto& member : OwnMembers(*clone)) {
        if (!HoldsName(members, member.first)) {
          members.push_back(member);
        } else if (twins) {
          members.push_back(member);
          Note("merged " + parent.name + ".zip holds " + clone->name + "'s " + member.first + " as a twin member");
        } else {
          leftOver.push_back(member);
        }
      }
      if (!leftOver.empty()) PlantSet(clone->name, leftOver);
    }
    PlantSet(parent.name, members, isZip);
  }

  ZipMembers AllMembers(const ScenarioGame& game) {
    ZipMembers members;
    for (const ScenarioRom& rom : game.roms) members.emplace_back(rom.name, Data(rom.content));
    return members;
  }
  ZipMembers OwnMembers(const ScenarioGame& game) {
    ZipMembers members;
    for (const ScenarioRom* rom : OwnRoms(game)) members.emplace_back(rom->name, Data(rom->content));
    return members;
  }

  void PlantSet(const std::string& name, const ZipMembers& members, int isZip = -1) {
    PlantedSet set;
    set.path = Pick(romPaths_) + name;
    set.isZip = isZip < 0 ? Chance(0.6) : isZip == 1;
    set.members = members;
    scenario_.sets.push_back(set);
  }

  std::string OtherRomPath(const std::string& setPath) const {
    return setPath.rfind(romPaths_[0], 0) == 0 ? romPaths_[1] : romPaths_[0];
  }

  std::string SetName(const PlantedSet& set) const {
    return set.path.substr(set.path.rfind('/', set.path.size() - 2) + 1) + (set.isZip ? ".zip" : "/");
  }
  PlantedSet& PickSet() { return Pick(scenario_.sets); }
  PlantedSet* PickNonEmptySet() {
    for (int attempt = 0; attempt < 10; ++attempt) {
      PlantedSet& set = PickSet();
      if (!set.members.empty()) return &set;
    }
    return nullptr;
  }

  void PlantFaults() {
    int missing = Between(0, 2);
    for (int i = 0; i < missing; ++i) {
      if (PlantedSet* set = PickNonEmptySet()) {
        size_t at = size_t(Between(0, int(set->members.size()) - 1));
        Note(SetName(*set) + " misses " + set->members[at].first);
        missingContents_.push_back(set->members[at].second);
        set->members.erase(set->members.begin() + long(at));
      }
    }
    if (Chance(0.5)) {
      if (PlantedSet* set = PickNonEmptySet()) {
        auto& member = Pick(set->members);
        Note(SetName(*set) + " holds " + member.first + " as x" + member.first);
        member.first = "x" + member.first;
      }
    }
    if (Chance(0.5)) {
      PlantedSet* from = PickNonEmptySet();
      PlantedSet& to = PickSet();
      if (from != nullptr && from != &to) {
        auto member = from->members.back();
        if (to.isZip || !HoldsName(to.members, member.first)) {
          from->members.pop_back();
          to.members.push_back(member);
          Note(SetName(*from) + "'s " + member.first + " lies in " + SetName(to));
        }
      }
    }
    if (Chance(0.4)) {
      if (PlantedSet* set = PickNonEmptySet()) {
        auto& member = Pick(set->members);
        missingContents_.push_back(member.second);  // the good one may turn up among the sources
        member.second = Data(NewContent(member.second.size()));  // a bad dump keeps its size
        Note(SetName(*set) + " holds a bad " + member.first);
      }
    }
    if (Chance(0.35)) {
      PlantedSet& set = PickSet();
      if (set.isZip && !set.members.empty()) {
        std::string name = Pick(set.members).first;
        set.members.emplace_back(name, Data(NewContent()));
        Note(SetName(set) + " holds two members named " + name);
      }
    }
    if (Chance(0.6)) {
      PlantedSet& set = PickSet();
      if (!HoldsName(set.members, "readme.txt")) {
        set.members.emplace_back("readme.txt", "A note left in " + SetName(set) + " " + Data(NewContent()));
        Note(SetName(set) + " holds a readme.txt");
      }
    }
    if (Chance(0.4)) {
      std::string path = Pick(romPaths_) + "readme.txt";
      scenario_.looseFiles.push_back({path, "About this collection " + Data(NewContent())});
      Note(path.substr(path.rfind('/', path.size() - 12) + 1) + " lies beside the sets");
    }
    if (Chance(0.4)) {
      PlantedSet& set = PickSet();
      PlantedSet stale;
      stale.path = OtherRomPath(set.path) + set.path.substr(set.path.rfind('/') + 1);
      stale.isZip = Chance(0.5);
      for (const auto& member : set.members)
        if (Chance(0.5)) stale.members.push_back(member);
      if (Chance(0.5)) stale.members.emplace_back("extra.bin", Data(NewContent()));
      scenario_.sets.push_back(stale);
      Note("an older " + SetName(stale) + " lies in the other ROM path");
    }
    if (Chance(0.3)) {
      PlantSet("oldset", {{"old.bin", Data(NewContent())}});
      Note("an unknown set " + SetName(scenario_.sets.back()));
    }
    if (Chance(0.5)) {
      PlantedSet& set = PickSet();
      if (set.isZip && !set.members.empty()) {
        set.damaged = true;
        Note(SetName(set) + " is damaged");
      }
    }
  }

  // Loose files and a zip with ROMs (the missing ones among them), a file
  // named like a ROM but of other contents, and a readme.
  void PlantRebuildSources() {
    std::vector<int> romContents;
    for (const ScenarioGame& game : scenario_.games)
      for (const ScenarioRom& rom : game.roms) romContents.push_back(rom.content);
    int count = Between(2, 5);
    for (int i = 0; i < count; ++i)
      scenario_.looseFiles.push_back({source_ + (Chance(0.3) ? "sub/" : "") + "dump" + std::to_string(i) + ".bin",
                                      Data(Pick(romContents))});
    for (size_t i = 0; i < missingContents_.size(); ++i)
      if (Chance(0.7)) scenario_.looseFiles.push_back({source_ + "found" + std::to_string(i) + ".bin", missingContents_[i]});
    if (Chance(0.5)) {
      ZipMembers members;
      for (int i = 0; i < 3; ++i) members.emplace_back("part" + std::to_string(i) + ".bin", Data(Pick(romContents)));
      scenario_.looseFiles.push_back({source_ + "pack.zip", StoredZip(members)});
      Note("source/pack.zip holds three ROMs");
    }
    if (Chance(0.4)) {
      const ScenarioGame& game = Pick(scenario_.games);
      std::string name = game.roms.front().name;
      scenario_.looseFiles.push_back({source_ + name, Data(NewContent())});
      Note("source/" + name + " is not " + game.name + "'s " + name);
    }
    if (Chance(0.5)) scenario_.looseFiles.push_back({source_ + "readme.txt", "Where these came from " + Data(NewContent())});
  }

  std::mt19937 random_;
  std::vector<std::string> romPaths_;
  std::string source_;
  Scenario scenario_;
  std::vector<std::string> missingContents_;
};

std::string CrcText(const std::string& data) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", CrcOf(data));
  return text;
}

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

std::string DatfileText(const Scenario& scenario) {
  std::string text;
  for (const ScenarioGame& game : scenario.games) {
    text += std::string(game.isBios ? "resource" : "game") + " ( name " + game.name + " description \"" + game.name + "\"";
    if (!game.cloneOf.empty()) text += " cloneof " + game.cloneOf;
    if (!game.romOf.empty()) text += " romof " + game.romOf;
    text += "\n";
    for (const ScenarioRom& rom : game.roms) {
      const std::string& data = scenario.contents[size_t(rom.content)];
      text += "  rom ( name " + rom.name + (rom.merge.empty() ? "" : " merge " + rom.merge) + " size " +
              std::to_string(data.size()) + " crc " + CrcText(data) + " )\n";
    }
    text += ")\n";
  }
  return text;
}

void WriteScenario(const Scenario& scenario) {
  for (const PlantedSet& set : scenario.sets) {
    if (set.isZip) {
      if (set.members.empty()) continue;  // a zip needs a member
      std::string bytes = StoredZip(set.members);
      WriteFile(set.path + ".zip", set.damaged ? Damaged(bytes) : bytes);
    } else {
      std::filesystem::create_directories(set.path);
      for (const auto& [name, data] : set.members) WriteFile(set.path + "/" + name, data);
    }
  }
  for (const LooseFile& file : scenario.looseFiles) WriteFile(file.path, file.data);
}

}  // namespace kestrel::testing
