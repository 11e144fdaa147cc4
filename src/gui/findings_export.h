// The results table's CSV export without a stall: the rows shown when the
// export starts are taken apart in slices of a few milliseconds, between
// which the windows handle their events (a scan may go on adding rows),
// and the file is written on a worker thread.
#pragma once

#include <string>

namespace kestrel {

class ResultsTableModel;

enum class ExportResult {
  kWritten,     // the whole file is in place
  kRowsChanged, // the table was read anew meanwhile; nothing was written
  kNotWritten,  // the file could not be written; an existing one stays
};

// Writes the rows `table` shows now to `path` as CSV, whole or not at all,
// handling events every `sliceMilliseconds` (at least one batch of rows
// between two turns).
ExportResult ExportShownRows(const ResultsTableModel& table, const std::string& path, int sliceMilliseconds = 15);

}  // namespace kestrel
