// Cuts datfile text into tokens. Emulator listings can be tens of
// megabytes, so the file is read in large blocks and each line is cut in
// place; a line never grows beyond a fixed bound, whatever the file holds.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrel {

// An open datfile and the unread rest of its current line.
class DatfileStream {
 public:
  // Longer lines are cut here; the cut-off rest is skipped.
  static constexpr size_t kMaxLineLength = size_t{4} << 20;

  DatfileStream() = default;
  ~DatfileStream();
  DatfileStream(const DatfileStream&) = delete;
  DatfileStream& operator=(const DatfileStream&) = delete;

  bool Open(const std::string& path);
  void Close();

  // The next line without its line end (LF or CR LF). False at the end of
  // the file or on a read error.
  bool ReadLine(std::string& line);

  // Tokenizer state: the current line and where its unread rest begins.
  std::string line;
  size_t position = 0;

 private:
  bool FillBuffer();

  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  size_t begin_ = 0;
  size_t end_ = 0;
  bool atEnd_ = true;
};

// The next token of the stream: a quoted value without its quotes, or a run
// of characters up to the next blank or tab. False at the end of the file.
bool NextToken(DatfileStream& file, std::string& token);

}  // namespace kestrel
