// Scenarios written as data. Each tests/<folder>/scenarios/<name>.txt is a
// script and its expected record in one file: lines starting "## " are
// steps, the lines after a step are its text. Setup steps are kept as
// written; a command, tree or file step is run and its text recorded anew;
// the whole record must equal the file. KESTREL_UPDATE_GOLDEN=1 rewrites
// the files instead (read each change before keeping it).
//
// Steps (paths relative to the scenario's folder, "<root>/" in commands):
//   ## note TEXT                  words for the reader; its lines are kept
//   ## copy SOURCE PATH           a file of the source tree, e.g. tests/golden/lists/rich.dat,
//                                 or with "<root>/" a file or folder of the scenario's
//   ## write PATH [TEXT]          TEXT (with \n, \t, \\, \xHH) or else the lines below
//   ## append PATH COUNT TEXT     TEXT, escaped as for write, COUNT times at the end of PATH
//   ## data PATH SIZE CRC         SIZE bytes whose CRC-32 is CRC (hex)
//   ## zip PATH                   a zip of stored members, one per line below:
//                                 "NAME = TEXT" or "NAME ~ SIZE CRC"
//   ## 7z PATH | ## rar PATH [cut]  the same members in a 7z (libarchive's), or a stored
//                                 RAR; "cut" ends the RAR half-way through its last member
//   ## chd PATH VERSION SHA1      the header of an empty CHD of VERSION (3, 4 or 5) giving SHA1 (hex)
//   ## mkdir PATH | ## remove PATH | ## demo PATH (the demo collection)
//   ## kestrel-cli --answer ANSWER ARGUMENTS   its exit status and output
//                                 ("<source>/" in ARGUMENTS is the source tree)
//   ## tree PATH | ## file PATH   every file and zip member below PATH; a file's text
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "golden/golden_record.h"
#include "support/crc_data.h"
#include "support/stored_rar.h"
#include "support/stored_zip.h"
#include "../archive/archive_fixtures.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

struct Step {
  std::string verb;       // "write", "kestrel-cli", ...; empty for the lines before the first step
  std::string arguments;  // the rest of the step's line
  std::string header;     // the step's line as written
  std::string body;       // the lines below it, as written
};

std::vector<Step> ReadSteps(const std::string& text) {
  std::vector<Step> steps(1);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("## ", 0) != 0) {
      steps.back().body += line + "\n";
      continue;
    }
    Step step;
    step.header = line + "\n";
    const std::string rest = line.substr(3);
    const size_t space = rest.find(' ');
    step.verb = rest.substr(0, space);
    step.arguments = space == std::string::npos ? "" : rest.substr(space + 1);
    steps.push_back(step);
  }
  return steps;
}

std::string Unescape(const std::string& text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      bytes += text[i];
      continue;
    }
    const char code = text[++i];
    if (code == 'n') bytes += '\n';
    else if (code == 't') bytes += '\t';
    else if (code == 'x' && i + 2 < text.size()) bytes += char(std::stoi(text.substr(i + 1, 2), nullptr, 16)), i += 2;
    else bytes += code;
  }
  return bytes;
}

// "SIZE CRC" as bytes made to have that CRC-32.
std::string DataOf(const std::string& sizeAndCrc) {
  std::istringstream fields(sizeAndCrc);
  size_t size = 0;
  std::string crc;
  fields >> size >> crc;
  return testing::DataWithCrc(size, uint32_t(std::stoul(crc, nullptr, 16)));
}

std::vector<std::pair<std::string, std::string>> MembersOf(const std::string& lines) {
  std::vector<std::pair<std::string, std::string>> members;
  std::istringstream input(lines);
  for (std::string line; std::getline(input, line);) {
    const size_t text = line.find(" = "), made = line.find(" ~ ");
    if (text != std::string::npos) members.emplace_back(line.substr(0, text), Unescape(line.substr(text + 3)));
    else if (made != std::string::npos) members.emplace_back(line.substr(0, made), DataOf(line.substr(made + 3)));
    else ADD_FAILURE() << "not a zip member: " << line;
  }
  return members;
}

// An empty CHD: its header alone, of `version`, with the SHA-1 of its data
// and metadata at the place that version keeps it.
std::string ChdOf(const std::string& versionAndSha1) {
  std::istringstream fields(versionAndSha1);
  int version = 0;
  std::string sha1;
  fields >> version >> sha1;
  const size_t length = version == 3 ? 120 : version == 4 ? 108 : 124;
  const size_t sha1At = version == 3 ? 80 : version == 4 ? 48 : 84;
  std::string bytes(length, '\0');
  bytes.replace(0, 8, "MComprHD");
  bytes[11] = char(length);
  bytes[15] = char(version);
  if (version == 5) bytes[58] = 0x10;  // hunks of 4096 bytes
  for (size_t i = 0; i < 20 && 2 * i + 1 < sha1.size(); ++i)
    bytes[sha1At + i] = char(std::stoi(sha1.substr(2 * i, 2), nullptr, 16));
  return bytes;
}

// "PATH REST" split at the first space.
std::pair<std::string, std::string> PathAndRest(const std::string& arguments) {
  const size_t space = arguments.find(' ');
  if (space == std::string::npos) return {arguments, ""};
  return {arguments.substr(0, space), arguments.substr(space + 1)};
}

void SetUpFiles(const Step& step, const TempFolder& dir) {
  const auto [path, rest] = PathAndRest(step.arguments);
  if (step.verb == "write") testing::WriteFile(dir / path, rest.empty() ? step.body : Unescape(rest));
  else if (step.verb == "data") testing::WriteFile(dir / path, DataOf(rest));
  else if (step.verb == "zip") testing::WriteFile(dir / path, testing::StoredZip(MembersOf(step.body)));
  else if (step.verb == "7z") testing::WriteFile(dir / path, testing::PackArchive(testing::Packing::k7z, MembersOf(step.body)));
  else if (step.verb == "rar") testing::WriteFile(dir / path, testing::StoredRar(MembersOf(step.body), rest == "cut"));
  else if (step.verb == "chd") testing::WriteFile(dir / path, ChdOf(rest));
  else if (step.verb == "mkdir") fs::create_directories(dir / path);
  else if (step.verb == "remove") fs::remove_all(dir / path);
  else if (step.verb == "demo") ASSERT_TRUE(testing::BuildDemoCollection(dir / path));
  else if (step.verb == "append") {
    const auto [count, text] = PathAndRest(rest);
    std::string bytes = testing::ReadFile(dir / path);
    for (int i = std::stoi(count); i > 0; --i) bytes += Unescape(text);
    testing::WriteFile(dir / path, bytes);
  } else if (step.verb == "copy") {
    const bool own = path.rfind("<root>/", 0) == 0;
    fs::create_directories(fs::path(dir / rest).parent_path());
    fs::copy(own ? fs::path(dir / path.substr(7)) : fs::path(testing::SourceDir() + path), dir / rest,
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
  } else ADD_FAILURE() << "unknown step: " << step.header;
}

void RunScenario(const std::string& file) {
  TempFolder dir;
  fs::create_directories(dir / "temp");
  testing::GoldenRecord record(file, dir);
  for (const Step& step : ReadSteps(testing::ReadFile(testing::SourceDir() + "tests/" + file))) {
    if (step.verb == "kestrel-cli") {
      const auto [answerOption, rest] = PathAndRest(step.arguments);
      const auto [answer, arguments] = PathAndRest(rest);
      EXPECT_EQ(answerOption, "--answer") << step.header;
      record.Run(arguments, answer);
    } else if (step.verb == "tree") {
      record.Tree(step.arguments);
    } else if (step.verb == "file") {
      record.File(step.arguments);
    } else {
      record.Echo(step.header + step.body);
      if (!step.verb.empty() && step.verb != "note") SetUpFiles(step, dir);
    }
  }
  record.Check();
}

class ScenarioTest : public ::testing::Test {
 public:
  explicit ScenarioTest(std::string file) : file_(std::move(file)) {}
  void TestBody() override { RunScenario(file_); }

 private:
  std::string file_;
};

// One test per scenario file, named after its folder and file.
bool RegisterScenarios() {
  const fs::path tests = testing::SourceDir() + "tests";
  std::vector<fs::path> files;
  for (const auto& folder : fs::directory_iterator(tests))
    if (fs::is_directory(folder.path() / "scenarios"))
      for (const auto& entry : fs::directory_iterator(folder.path() / "scenarios"))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& path : files) {
    const std::string file = fs::relative(path, tests).string();
    std::string name = path.parent_path().parent_path().filename().string() + "_" + path.stem().string();
    for (char& c : name)
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    ::testing::RegisterTest("Scenario", name.c_str(), nullptr, nullptr, __FILE__, __LINE__,
                            [file]() -> ::testing::Test* { return new ScenarioTest(file); });
  }
  return true;
}

const bool registered = RegisterScenarios();

}  // namespace
}  // namespace kestrel
