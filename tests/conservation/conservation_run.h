// Kestrel's first rule, run over random collections: the tools on a
// temporary collection, and one seed's run of random steps, each checked
// to keep every content the collection, the rebuild sources and the
// backups held before it and, run again without its fault, to go through.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "gamedb/game_set.h"
#include "merger/merger.h"
#include "rebuilder/rebuilder.h"
#include "scanner/scan_driver.h"
#include "settings/settings_record.h"
#include "support/temp_folder.h"

namespace kestrel::testing {

// Answers No to every "Do You Want To Stop ...?": a run goes on as far as it can.
class GoingOnInterface : public ScriptedInterface {
 public:
  int Message(const std::string& text, const std::string& title, MessageStyle style) override {
    int answer = ScriptedInterface::Message(text, title, style);
    return text.find("Do You Want To Stop") != std::string::npos ? kResultNo : answer;
  }
};

// A temporary folder with a game list loaded, and the tools run over it
// with the settings of a first use.
struct ToolBench {
  ToolBench() { std::filesystem::create_directories(root / "temp/"); }
  bool LoadList(const std::string& text);
  SettingsRecord Settings() const;
  // Rebuild and Scan return "" when the run went through, else why not.
  std::string Rebuild(SettingsRecord settings, FileSystem& fs = RealFileSystem());
  MergeOutcome Merge(SettingsRecord settings, MergeButton button, FileSystem& fs = RealFileSystem());
  // With every check on; the result lines go to `findings`.
  std::string Scan(SettingsRecord settings, FileSystem& fs, std::vector<std::string>* findings = nullptr);

  TempFolder root;
  GameList database;
  GoingOnInterface ui;
  ZipLibrary zipLibrary;
};

inline std::string LayoutName(SetLayout layout) {
  return layout == SetLayout::kNonMerged ? "non-merged" : layout == SetLayout::kSplit ? "split" : "merged";
}

// The tools' names in KESTREL_CONSERVATION_TOOLS, in the order of `Tool`.
inline const std::vector<std::string> kToolKeys = {"rebuild", "merged", "split", "unmerge", "scan"};

struct RunReport {
  std::vector<std::string> failures;  // empty when every step kept everything and went through
  std::vector<std::string> steps;     // the steps run, in words
};

// The run of `seed` with the tools whose keys `tools` names (all when it names none).
// With KESTREL_CONSERVATION_KEEP set, a failed run's folders are kept.
RunReport RunSeed(uint32_t seed, const std::string& tools);

}  // namespace kestrel::testing
