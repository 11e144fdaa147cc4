// An expat parser that frees itself: every XML reader of the game lists
// holds its parser so.
#pragma once

#include <expat.h>

#include <memory>

namespace kestrel {

struct ExpatParserDeleter {
  void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};
using ExpatParser = std::unique_ptr<XML_ParserStruct, ExpatParserDeleter>;

}  // namespace kestrel
