#include "gui/findings_export.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <span>

#include "gui/off_gui_thread.h"
#include "gui/results_table_model.h"
#include "platform/file_replacement.h"

namespace kestrel {
namespace {

// A slice takes about this long before the windows get their turn.
constexpr size_t kRowsBetweenClockReads = 256;
constexpr size_t kBytesPerRowReserved = 512;

bool WriteWholeFile(const std::string& path, const std::string& text) {
  FileReplacement file;
  return file.Create(path) && file.Write(text.data(), text.size()) && file.Close(true) && file.Commit();
}

}  // namespace

ExportResult ExportShownRows(const ResultsTableModel& table, const std::string& path, int sliceMilliseconds) {
  const std::vector<ResultsTableModel::Row> rows = table.ShownRows();
  const int generation = table.generation();
  std::string text = ResultsTableModel::CsvHeading();
  // Room for the whole text at once: growing 70 MB step by step copies it
  // over and over, each copy a stall of its own. Pages not written to cost
  // nothing.
  text.reserve(rows.size() * kBytesPerRowReserved);
  QElapsedTimer slice;
  for (size_t next = 0; next < rows.size();) {
    slice.start();
    do {
      const size_t end = std::min(rows.size(), next + kRowsBetweenClockReads);
      table.AppendCsv(std::span(rows).subspan(next, end - next), text);
      next = end;
    } while (next < rows.size() && slice.elapsed() < sliceMilliseconds);
    if (next == rows.size()) break;
    QCoreApplication::processEvents();
    // A rebuilt or cleared table has other rows at the same places.
    if (table.generation() != generation) return ExportResult::kRowsChanged;
  }
  bool written = false;
  RunOffGuiThread([&] { written = WriteWholeFile(path, text); });
  return written ? ExportResult::kWritten : ExportResult::kNotWritten;
}

}  // namespace kestrel
