#include "golden/golden_record.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "archive/zip_reader.h"
#include "platform/paths.h"

namespace kestrel::testing {

namespace fs = std::filesystem;

namespace {

std::string GoldenPath(const std::string& name) {
  return SourceDir() + "tests/" + (name.find('/') == std::string::npos ? "golden/" + name + ".txt" : name);
}

std::string SizeAndCrc(uint32_t size, uint32_t crc) {
  char text[32];
  std::snprintf(text, sizeof text, " %u %08x", size, crc);
  return text;
}

// The lines of one file: itself, and each member when it is a zip. A zip's
// own bytes hold the times its members were written, so only its members
// are compared.
void AddFileLines(const std::string& path, const std::string& shown, std::set<std::string>& lines) {
  uint32_t size = 0, crc = 0;
  if (!HasZipExtension(path)) {
    lines.insert(shown + (ReadFileCrc(RealFileSystem(), path, size, crc) ? SizeAndCrc(size, crc) : " <unreadable>"));
    return;
  }
  lines.insert(shown);
  ZipEntryList members;
  if (!ReadZipDirectory(RealFileSystem(), path, members, true, nullptr)) {
    lines.insert(shown + ": <not a readable zip>");
    return;
  }
  for (const ZipEntry& member : members)
    lines.insert(shown + ":" + member.storedName + SizeAndCrc(uint32_t(member.size), member.crc) +
                 (CheckZipEntry(RealFileSystem(), member) ? "" : " <damaged>"));
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

// The first line where the record leaves its file, with the lines before it.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream wanted(expected), got(actual);
  std::vector<std::string> before;
  std::string want, have;
  for (int line = 1;; ++line) {
    const bool moreWanted = bool(std::getline(wanted, want)), moreGot = bool(std::getline(got, have));
    if (!moreWanted && !moreGot) return "";
    if (moreWanted && moreGot && want == have) {
      before.push_back(want);
      continue;
    }
    std::string text = "line " + std::to_string(line) + ":\n";
    for (size_t i = before.size() > 3 ? before.size() - 3 : 0; i < before.size(); ++i) text += "   " + before[i] + "\n";
    text += " - " + (moreWanted ? want : "<end>") + "\n + " + (moreGot ? have : "<end>") + "\n";
    // What followed in this run: a failure that comes and goes is seen once.
    for (int more = 0; more < 25 && std::getline(got, have); ++more) text += " + " + have + "\n";
    return text;
  }
}

}  // namespace

GoldenRecord::GoldenRecord(std::string name, const TempFolder& root) : name_(std::move(name)), root_(root) {}

// A text that does not end its last line says so, so that the next record
// starts on a line of its own.
std::string GoldenRecord::Relative(std::string text) const {
  ReplaceAll(text, root_.path(), "<root>/");
  ReplaceAll(text, SourceDir(), "<source>/");
  if (!text.empty() && text.back() != '\n') text += "<no line end>\n";
  return text;
}

CliRun GoldenRecord::Run(const std::string& arguments, const std::string& answer) {
  std::string expanded = arguments;
  ReplaceAll(expanded, "<root>/", root_.path());
  ReplaceAll(expanded, "<source>/", SourceDir());
  CliRun run = RunCli(root_, expanded, answer);
  text_ += "## kestrel-cli --answer " + answer + " " + Relative(arguments + "\n") + "exit " +
           std::to_string(run.status) + "\n" + Relative(run.out);
  if (!run.err.empty()) text_ += "-- stderr\n" + Relative(run.err);
  return run;
}

void GoldenRecord::Tree(const std::string& folder) {
  std::set<std::string> lines;
  const std::string top = root_ / folder;
  if (fs::is_regular_file(top)) {
    AddFileLines(top, folder, lines);
  } else if (fs::exists(top)) {
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
      const std::string shown = entry.path().string().substr(root_.path().size());
      if (entry.is_directory()) lines.insert(shown + "/");
      else AddFileLines(entry.path().string(), shown, lines);
    }
  }
  text_ += "## tree " + folder + "\n";
  for (const std::string& line : lines) text_ += line + "\n";
}

void GoldenRecord::File(const std::string& name) {
  const std::string path = root_ / name;
  text_ += "## file " + name + "\n" + (fs::exists(path) ? Relative(ReadFile(path)) : "<none>\n");
}

void GoldenRecord::Check() const {
  const std::string path = GoldenPath(name_);
  const char* update = std::getenv("KESTREL_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(path, std::ios::binary) << text_;
    return;
  }
  const std::string expected = ReadFile(path);
  if (text_ != expected)
    ADD_FAILURE() << FirstDifference(expected, text_) << "differs from " << path
                  << " (KESTREL_UPDATE_GOLDEN=1 rewrites it)";
}

}  // namespace kestrel::testing
