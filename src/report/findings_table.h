// The scan's findings as a table for other programs: CSV (RFC 4180) or
// JSON, one record per result line as the results tree shows it (headers
// included, in the same order), then the statistics. The desktop results
// window can export through the same functions.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "report/results_model.h"

namespace kestrel {

enum class TableFormat { kCsv, kJson };

// The format a report file's name asks for: ".csv" or ".json" in any case;
// nullopt for any other name.
std::optional<TableFormat> TableFormatOf(const std::string& path);

// The columns, in this order: set, parent, kind (the words the line starts
// with, "missing rom", "wrong checksum", ...; "set" for a game's header),
// item, item type (rom, sample, disk), expected size, expected crc, found
// size, found crc (decimal sizes, eight-digit hexadecimal CRCs, empty where
// they do not apply), path, and the line as the logfile holds it. Then one
// row per statistics line, kind "statistic", its label as the item and its
// value as the text. Fields are quoted when they hold a comma, a quote or a
// line break; the bytes of names are kept as they are, so a name that is
// not UTF-8 reaches the reader unchanged. Lines end in CR LF.
std::string RenderFindingsCsv(const ResultsModel& results, const std::string& statisticsText);

// {"findings": [one object per result line, with the CSV's columns as
// members; sizes are numbers, CRCs text, absent ones null], "statistics": {label: value, ...}}.
// JSON must be UTF-8: a byte of a name that is not part of valid UTF-8 is
// written as the Latin-1 character of its value (see utf8_text.h).
std::string RenderFindingsJson(const ResultsModel& results, const std::string& statisticsText);

// Where a table goes piece by piece, so that a whole list's findings never
// sit in memory twice; false when a piece could not be taken.
using TableSink = std::function<bool(std::string_view)>;

// The same bytes as RenderFindingsCsv and RenderFindingsJson, handed to
// `write` a record at a time; false as soon as `write` is, the rest unmade.
bool WriteFindingsCsv(const ResultsModel& results, const std::string& statisticsText, const TableSink& write);
bool WriteFindingsJson(const ResultsModel& results, const std::string& statisticsText, const TableSink& write);

}  // namespace kestrel
