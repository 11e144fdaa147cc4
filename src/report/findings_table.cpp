#include "report/findings_table.h"

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "report/csv_text.h"
#include "report/logiqx_datfile.h"
#include "report/utf8_text.h"

namespace kestrel {
namespace {

// One row of the table, every field as text; absent numbers are empty.
using Row = std::vector<std::string>;
const Row kColumns = {"set",       "parent",      "kind",       "item", "item type", "expected size",
                      "expected crc", "found size", "found crc", "path", "text"};
// The columns JSON writes as numbers (or null): the sizes. CRCs stay text,
// as the lists write them.
bool IsSizeColumn(size_t column) { return column == 5 || column == 7; }
bool IsCrcColumn(size_t column) { return column == 6 || column == 8; }

std::string SizeText(const std::optional<uint32_t>& value) {
  return value ? std::to_string(*value) : std::string();
}

std::string OptionalCrcText(const std::optional<uint32_t>& value) {
  return value ? CrcText(*value) : std::string();
}

// The words before the line's first ": " name its kind; a header has none.
std::string KindOf(const ResultTreeItem& item) {
  if (item.kind == kResultGameHeader || item.kind == kResultMissingSetHeader) return "set";
  return item.text.substr(0, item.text.find(": "));
}

Row RowOf(const ResultTreeItem& item) {
  const FindingDetail& d = item.detail;
  return {d.set, d.parent, KindOf(item), d.item, d.itemType, SizeText(d.expectedSize), OptionalCrcText(d.expectedCrc),
          SizeText(d.foundSize), OptionalCrcText(d.foundCrc), d.path, item.text};
}

// Hands each result line's row to `take`, in the order the logfile holds
// them; one at a time, as a full list may have hundreds of thousands.
// False as soon as `take` is.
bool ForEachFindingRow(const ResultsModel& results, const std::function<bool(const Row&)>& take) {
  for (const ResultTreeItem& item : results.items) {
    if (!take(RowOf(item))) return false;
    for (const ResultTreeItem& child : item.children)
      if (!take(RowOf(child))) return false;
  }
  return true;
}

std::string Trim(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return {};
  return text.substr(begin, text.find_last_not_of(' ') + 1 - begin);
}

// "Label:   value" lines of the statistics text; blank lines and the
// separator are no statistics.
std::vector<std::pair<std::string, std::string>> StatisticsOf(const std::string& statisticsText) {
  std::vector<std::pair<std::string, std::string>> statistics;
  size_t begin = 0;
  while (begin < statisticsText.size()) {
    size_t end = statisticsText.find('\n', begin);
    if (end == std::string::npos) end = statisticsText.size();
    const std::string line = statisticsText.substr(begin, end - begin);
    begin = end + 1;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    statistics.emplace_back(Trim(line.substr(0, colon)), Trim(line.substr(colon + 1)));
  }
  return statistics;
}

std::string CsvRow(const Row& row) {
  return CsvLine(std::vector<std::string_view>(row.begin(), row.end()));
}

std::string JsonString(const std::string& bytes) {
  std::string text = "\"";
  for (char c : Utf8FromBytes(bytes)) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text += '\\';
      text += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      text += escape;
    } else {
      text += c;
    }
  }
  return text + "\"";
}

std::string JsonObject(const Row& row) {
  std::string text = "{";
  for (size_t i = 0; i < row.size(); ++i) {
    text += (i ? ", " : "") + JsonString(kColumns[i]) + ": ";
    if ((IsSizeColumn(i) || IsCrcColumn(i)) && row[i].empty()) text += "null";
    else text += IsSizeColumn(i) ? row[i] : JsonString(row[i]);
  }
  return text + "}";
}

}  // namespace

std::optional<TableFormat> TableFormatOf(const std::string& path) {
  if (HasSuffixNoCase(path, ".csv")) return TableFormat::kCsv;
  if (HasSuffixNoCase(path, ".json")) return TableFormat::kJson;
  return std::nullopt;
}

bool WriteFindingsCsv(const ResultsModel& results, const std::string& statisticsText, const TableSink& write) {
  if (!write(CsvRow(kColumns))) return false;
  if (!ForEachFindingRow(results, [&write](const Row& row) { return write(CsvRow(row)); })) return false;
  for (const auto& [label, value] : StatisticsOf(statisticsText)) {
    Row row(kColumns.size());
    row[2] = "statistic";
    row[3] = label;
    row.back() = value;
    if (!write(CsvRow(row))) return false;
  }
  return true;
}

bool WriteFindingsJson(const ResultsModel& results, const std::string& statisticsText, const TableSink& write) {
  if (!write("{\"findings\": [")) return false;
  bool first = true;
  bool written = ForEachFindingRow(results, [&](const Row& row) {
    const bool taken = write((first ? "\n  " : ",\n  ") + JsonObject(row));
    first = false;
    return taken;
  });
  if (!written || !write(first ? "],\n\"statistics\": {" : "\n],\n\"statistics\": {")) return false;
  const auto statistics = StatisticsOf(statisticsText);
  for (size_t i = 0; i < statistics.size(); ++i) {
    if (!write((i ? ",\n  " : "\n  ") + JsonString(statistics[i].first) + ": " + JsonString(statistics[i].second)))
      return false;
  }
  return write(statistics.empty() ? "}}\n" : "\n}}\n");
}

std::string RenderFindingsCsv(const ResultsModel& results, const std::string& statisticsText) {
  std::string csv;
  WriteFindingsCsv(results, statisticsText, [&csv](std::string_view piece) { return csv += piece, true; });
  return csv;
}

std::string RenderFindingsJson(const ResultsModel& results, const std::string& statisticsText) {
  std::string json;
  WriteFindingsJson(results, statisticsText, [&json](std::string_view piece) { return json += piece, true; });
  return json;
}

}  // namespace kestrel
