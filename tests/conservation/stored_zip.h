// A zip written byte by byte, members stored uncompressed, in the order
// given and under the names given, twins included. Zip programs refuse to
// write two members of one name; collections still hold such zips.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kestrel::testing {

using ZipMembers = std::vector<std::pair<std::string, std::string>>;  // stored name, contents

// The bytes of a zip holding `members`.
std::string StoredZipBytes(const ZipMembers& members);

}  // namespace kestrel::testing
