#include "report/result_line.h"

namespace kestrel {

std::string FixMark(bool fixOption, bool fixed) {
  if (!fixOption) return {};
  return fixed ? " [fixed]" : " [not fixed]";
}

}  // namespace kestrel
