// The program writes file-dialog filters as "desc|pattern|desc|pattern||";
// Qt wants "desc (pattern pattern);;desc (pattern)".
#pragma once

#include <QString>
#include <string>

namespace kestrel {

QString ToQtFileFilter(const std::string& filter);

}  // namespace kestrel
