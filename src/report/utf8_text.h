// Names on disk are bytes: a collection copied from an old system may hold
// Latin-1 names beside UTF-8 ones. XML and JSON must be UTF-8, so a name is
// written there in one documented way.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// `bytes` as UTF-8: every valid UTF-8 sequence is kept as it is; every
// other byte is taken for the Latin-1 character of its value (0xE9 becomes
// "é"), so nothing is dropped and the result is always valid UTF-8.
std::string Utf8FromBytes(std::string_view bytes);

}  // namespace kestrel
