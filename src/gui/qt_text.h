// Texts cross between the core's 8-bit strings and Qt's QString in the
// locale's encoding, which is also how file names reach the file system.
#pragma once

#include <QString>
#include <string>

namespace kestrel {

inline QString ToQString(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQString(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace kestrel
