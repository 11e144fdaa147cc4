// Cuts datfile text into tokens. Emulator listings can be tens of
// megabytes, so the file is read in large blocks and each line is cut in
// place. Lines are read whole, however long (some lists put every game on
// one line); a single token is bounded instead, and a token cut at the bound
// is counted so the parser can tell the user. A line longer than a few
// buffers is measured to its end before it is kept, so that it takes its own
// length in memory once, not up to twice that as a string grown by doubling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrel {

// An open datfile and the unread rest of its current line.
class DatfileStream {
 public:
  // Longer tokens are cut here; the cut-off rest is skipped. No field of a
  // game list comes near it.
  static constexpr size_t kMaxTokenLength = size_t{1} << 20;

  DatfileStream() = default;
  ~DatfileStream();
  DatfileStream(const DatfileStream&) = delete;
  DatfileStream& operator=(const DatfileStream&) = delete;

  bool Open(const std::string& path);
  void Close();

  // The next line without its line end (LF or CR LF). False at the end of
  // the file or on a read error.
  bool ReadLine(std::string& line);

  // Bytes of the file taken as lines so far.
  uint64_t bytesRead() const { return bytesFilled_ - (end_ - begin_); }

  // Tokenizer state: the current line and where its unread rest begins.
  std::string line;
  size_t position = 0;
  // Number of the current line, counted from 1 (0 before the first).
  size_t lineNumber = 0;
  // Tokens cut at kMaxTokenLength so far, and the line of the first one.
  size_t cutTokens = 0;
  size_t firstCutLine = 0;

 private:
  bool FillBuffer();
  void ReserveWholeLine(std::string& out);

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool atEnd_ = true;
  uint64_t bytesFilled_ = 0;
};

// The next token of the stream: a quoted value without its quotes, or a run
// of characters up to the next blank or tab, at most kMaxTokenLength bytes
// of it. False at the end of the file.
bool NextToken(DatfileStream& file, std::string& token);

}  // namespace kestrel
