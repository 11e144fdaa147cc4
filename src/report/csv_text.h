// Comma-separated values as spreadsheets read them (RFC 4180): a field with
// a comma, a quote or a line break is quoted, its quotes doubled; lines end
// with CR LF.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

std::string CsvField(std::string_view text);
std::string CsvLine(const std::vector<std::string_view>& fields);

}  // namespace kestrel
