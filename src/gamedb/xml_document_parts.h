// Where a large XML list can be cut, so that its parts can be read on every
// core: the document's start, which every part is read after, and stretches
// of about equal size, each after the first beginning at a game element.
// Nothing here knows whether a cut is sound; reading the parts tells.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace kestrel {

// The document's start up to and with its root element's start tag (the
// XML declaration and the DTD with it), and the root's name.
struct XmlPrologue {
  std::string text;
  std::string rootName;
};

// Reads the prologue from the start of `file`; nothing when the root's
// start tag does not end within the first megabyte.
std::optional<XmlPrologue> ReadXmlPrologue(std::FILE* file);

// The file's bytes [begin, end); `end` 0 is the file's end.
struct XmlStretch {
  uint64_t begin = 0;
  uint64_t end = 0;
};

// Up to `parts` stretches that together are the whole file, the first from
// its start; each further one begins at the first "<machine " or "<game "
// after an equal share of what follows the prologue. A share without one in
// the next 16 MB gives no cut.
std::vector<XmlStretch> CutXmlDocument(std::FILE* file, uint64_t fileSize, const XmlPrologue& prologue, unsigned parts);

}  // namespace kestrel
