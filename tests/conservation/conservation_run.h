// One seed's run: the scenario written to disk, then random steps, each
// checked to keep every content the collection, the rebuild sources and the
// backups held before it and, run again without its fault, to go through.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/scripted_interface.h"
#include "archive/zip_library.h"
#include "conservation/conservation_step.h"
#include "conservation/content_inventory.h"
#include "conservation/scenario.h"
#include "gamedb/game_set.h"
#include "support/faulty_file_system.h"
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

struct RunReport {
  std::vector<std::string> failures;  // empty when every step kept everything and went through
  std::vector<std::string> steps;     // the steps run, in words
  std::vector<std::string> notes;     // the scenario, in words
};

class ConservationRun {
 public:
  ConservationRun(uint32_t seed, std::vector<Tool> tools);
  ~ConservationRun();
  ConservationRun(const ConservationRun&) = delete;
  ConservationRun& operator=(const ConservationRun&) = delete;

  RunReport Run();

 private:
  // "" when the step went through, else why not.
  std::string RunStep(const Step& step);
  std::string RunRebuild(const Step& step);
  std::string RunMerger(const Step& step);
  std::string RunScan(const Step& step);
  Inventory Look() { return TakeInventory(watched_, root_ / "scratch.bin"); }
  // Adds to the report; false when the run is to stop.
  bool CheckStep(const Step& step, size_t number, RunReport& report);
  // Counts what the interruption falls among in a run without it, then
  // puts the folders back and sets step.at.
  void PlaceInterruption(Step& step);
  void KeepFolders(RunReport& report) const;
  std::vector<std::string> LeftWorkFolders() const;  // the merger's, in the ROM paths

  uint32_t seed_;
  std::vector<Tool> tools_;
  TempFolder root_;
  std::vector<std::string> romPaths_;
  std::string source_, backup_;
  std::vector<std::string> watched_;
  GameList database_;
  GoingOnInterface ui_;
  ZipLibrary zipLibrary_;
  // The disk of the current step, failing where the step's interruption
  // says; it counts the calls of a plain run for PlaceInterruption.
  std::unique_ptr<FaultyFileSystem> disk_;
};

}  // namespace kestrel::testing
