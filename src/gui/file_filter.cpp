#include "gui/file_filter.h"

#include <QStringList>

namespace kestrel {
namespace {

// "Kestrel profiles (*.kpf)" already names its pattern; Qt takes the last
// parenthesised group as the patterns, so that group is replaced rather
// than repeated.
QString WithoutTrailingPatterns(QString description) {
  description = description.trimmed();
  if (description.endsWith(')')) {
    const qsizetype open = description.lastIndexOf('(');
    if (open >= 0) description = description.left(open).trimmed();
  }
  return description;
}

}  // namespace

QString ToQtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromLocal8Bit(filter.c_str()).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns = parts[i + 1].trimmed();
    if (parts[i].isEmpty() && patterns.isEmpty()) break;  // the closing "||"
    QStringList list = patterns.split(';', Qt::SkipEmptyParts);
    for (QString& pattern : list) pattern = pattern.trimmed();
    QString description = WithoutTrailingPatterns(parts[i]);
    if (description.isEmpty()) description = list.join(' ');
    filters << description + " (" + list.join(' ') + ")";
  }
  return filters.join(";;");
}

}  // namespace kestrel
