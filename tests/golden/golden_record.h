// A behaviour record: every command of a scenario with its exit status and
// everything it printed, and the trees it left, compared with a checked-in
// file (a scenario of tests/*/scenarios/, or a C++ test's record under
// tests/golden/). KESTREL_UPDATE_GOLDEN=1 rewrites the files instead; read
// each change before keeping it.
#pragma once

#include <string>

#include "cli/cli_run.h"

namespace kestrel::testing {

class GoldenRecord {
 public:
  // `name` is the file tests/golden/<name>.txt, or with a '/' a file under
  // tests/; `root` the scenario folder whose path is written as "<root>/"
  // wherever it appears.
  GoldenRecord(std::string name, const TempFolder& root);

  // Runs kestrel-cli with `arguments` ("<root>/" stands for the folder,
  // "<source>/" for the source tree) and records the command, its exit
  // status and its output.
  CliRun Run(const std::string& arguments, const std::string& answer = "yes");
  // Records every file under `folder` (relative to the root), and every
  // member of every zip: path, size and CRC-32, one line each, sorted.
  void Tree(const std::string& folder);
  // Records the text of the file `name` (relative to the root).
  void File(const std::string& name);
  // Records `text` as it is: a scenario's own lines.
  void Echo(const std::string& text) { text_ += text; }

  // Compares the record with its file (or rewrites the file).
  void Check() const;

 private:
  std::string Relative(std::string text) const;

  std::string name_;
  const TempFolder& root_;
  std::string text_;
};

}  // namespace kestrel::testing
