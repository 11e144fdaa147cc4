#include "acquire/read_line.h"

namespace kestrel {

bool ReadLine(std::FILE* file, std::string& line, size_t keep) {
  line.clear();
  int c = std::getc(file);
  if (c == EOF) return false;
  while (c != EOF && c != '\n') {
    if (line.size() < keep) line.push_back(static_cast<char>(c));
    c = std::getc(file);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

std::string TrimBlanks(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace kestrel
