// The stored fields of a record as readable lines, for `kestrel-cli profile
// show`. Pass the record as LoadProfile read it, before ValidateProfile, to
// show the profile as it stands in the file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "settings/settings_record.h"

namespace kestrel {

// One pair of name and value per stored field, in the order of the file.
// Names are the record's field names. Values:
//   integers and flags  in decimal ("1", "-15")
//   strings             the text as it is, "" when empty
//   storedDataCrc       eight hex digits with "0x" ("0x1a2b3c4d")
//   gameSelectionBytes  "<count> games, <n> selected" (n counts bytes equal to 1)
//   path lists          "<count> entries" under the list's name, then one pair
//                       per entry, named "<list>[<index>]", valued
//                       "<path> (enabled)" or "<path> (disabled)"
// Nothing is omitted: fields a profile of an older version lacks
// show the defaults LoadProfile gave them.
std::vector<std::pair<std::string, std::string>> DescribeProfileFields(const SettingsRecord& record);

}  // namespace kestrel
