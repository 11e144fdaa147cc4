#include <zlib.h>

#include <climits>

#include "archive/zip_reader.h"

namespace kestrel {

int InflateBuffer(const uint8_t* input, size_t inputLength, uint8_t* output, size_t outputLength) {
  if (inputLength > UINT_MAX || outputLength > UINT_MAX) return -1;
  if (input == nullptr && inputLength > 0) return -1;
  if (output == nullptr && outputLength > 0) return -1;
  // zlib refuses a null output even when nothing is to be written.
  uint8_t spare = 0;
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return -1;
  stream.next_in = const_cast<Bytef*>(input);
  stream.avail_in = static_cast<uInt>(inputLength);
  stream.next_out = output != nullptr ? output : &spare;
  stream.avail_out = static_cast<uInt>(outputLength);
  // With all input and all room given at once, anything but the end of the
  // stream means damaged data, too little input or too little room.
  int result = inflate(&stream, Z_FINISH);
  bool whole = result == Z_STREAM_END && stream.avail_in == 0 && stream.total_out == outputLength;
  inflateEnd(&stream);
  return whole ? 0 : -1;
}

}  // namespace kestrel
