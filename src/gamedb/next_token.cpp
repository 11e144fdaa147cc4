#include "gamedb/next_token.h"

#include <algorithm>
#include <cstring>

#include "gamedb/list_values.h"
#include "platform/file_system.h"

namespace kestrel {

namespace {

constexpr size_t kBufferSize = size_t{1} << 20;
// A line grown past this is measured to its end before it grows further.
constexpr size_t kMeasuredLineLength = size_t{16} << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void RemoveCarriageReturn(std::string& line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
}

// The closing quote of a value opened at `open`: the first quote that no
// backslash stands directly before. npos when the line holds none.
size_t FindClosingQuote(const std::string& line, size_t open) {
  size_t quote = line.find('"', open + 1);
  while (quote != std::string::npos && line[quote - 1] == '\\') quote = line.find('"', quote + 1);
  return quote;
}

}  // namespace

DatfileStream::~DatfileStream() { Close(); }

bool DatfileStream::Open(const std::string& path) {
  Close();
  file_ = OpenFile(path, "rb");
  if (file_ == nullptr) return false;
  buffer_.resize(kBufferSize);
  begin_ = end_ = 0;
  bytesFilled_ = 0;
  atEnd_ = false;
  line.clear();
  position = 0;
  lineNumber = 0;
  cutTokens = 0;
  firstCutLine = 0;
  return true;
}

void DatfileStream::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  atEnd_ = true;
  begin_ = end_ = 0;
}

bool DatfileStream::FillBuffer() {
  if (atEnd_ || file_ == nullptr) return false;
  size_t count = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (count == 0) {
    // A read error ends the text just like its end does.
    atEnd_ = true;
    return false;
  }
  begin_ = 0;
  end_ = count;
  bytesFilled_ += count;
  return true;
}

// Reads on from the file's position to the next line end, then goes back:
// the rest of the line beyond the buffer is then known, and `out` takes
// exactly the room the whole line needs. A file that cannot go back (none
// that opens for reading) leaves the line to grow as it may.
void DatfileStream::ReserveWholeLine(std::string& out) {
  long resumeAt = std::ftell(file_);
  if (resumeAt < 0) return;
  uint64_t rest = 0;
  std::vector<char> piece(kBufferSize);
  for (size_t count; (count = std::fread(piece.data(), 1, piece.size(), file_)) > 0;) {
    const void* newline = std::memchr(piece.data(), '\n', count);
    if (newline != nullptr) {
      rest += static_cast<uint64_t>(static_cast<const char*>(newline) - piece.data());
      break;
    }
    rest += count;
  }
  std::clearerr(file_);
  if (std::fseek(file_, resumeAt, SEEK_SET) != 0) return;
  // A new string: reserving in the old one would double its room at least.
  std::string whole;
  whole.reserve(out.size() + (end_ - begin_) + rest);
  whole.append(out);
  out.swap(whole);
}

bool DatfileStream::ReadLine(std::string& out) {
  out.clear();
  // The room a long line took goes back before the next line is read.
  if (out.capacity() > kMeasuredLineLength) std::string().swap(out);
  bool readAnything = false;
  bool measured = false;
  while (begin_ < end_ || FillBuffer()) {
    readAnything = true;
    const char* start = buffer_.data() + begin_;
    size_t available = end_ - begin_;
    const void* newline = std::memchr(start, '\n', available);
    size_t length = newline ? static_cast<size_t>(static_cast<const char*>(newline) - start) : available;
    if (!newline && !measured && out.size() + length > kMeasuredLineLength) {
      measured = true;
      ReserveWholeLine(out);
    }
    out.append(start, length);
    begin_ += length;
    if (newline != nullptr) {
      ++begin_;
      break;
    }
  }
  RemoveCarriageReturn(out);
  if (readAnything) ++lineNumber;
  return readAnything;
}

namespace {

// Takes `length` bytes of the line from `start` as the token, cut at the bound.
void TakeToken(DatfileStream& file, size_t start, size_t length, std::string& token) {
  if (length > DatfileStream::kMaxTokenLength) {
    length = DatfileStream::kMaxTokenLength;
    if (file.cutTokens++ == 0) file.firstCutLine = file.lineNumber;
  }
  token.assign(file.line, start, length);
}

}  // namespace

bool NextToken(DatfileStream& file, std::string& token) {
  for (;;) {
    const std::string& line = file.line;
    size_t start = file.position;
    while (start < line.size() && IsBlank(line[start])) ++start;
    if (start < line.size()) {
      if (line[start] == '"') {
        size_t close = FindClosingQuote(line, start);
        if (close != std::string::npos) {
          TakeToken(file, start + 1, close - start - 1, token);
          TrimTrailingBlanks(token);
          file.position = close + 1;
          return true;
        }
        // Without a closing quote on this line the quote is an ordinary character.
      }
      size_t end = start;
      while (end < line.size() && !IsBlank(line[end])) ++end;
      TakeToken(file, start, end - start, token);
      file.position = end;
      return true;
    }
    file.position = 0;
    if (!file.ReadLine(file.line)) {
      file.line.clear();
      return false;
    }
  }
}

}  // namespace kestrel
