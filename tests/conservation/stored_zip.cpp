#include "conservation/stored_zip.h"

#include <cstdint>

#include "support/crc_data.h"

namespace kestrel::testing {
namespace {

void Put16(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// The fields local and central headers share, from "version needed" on.
std::string SharedFields(const std::string& name, const std::string& data) {
  std::string fields;
  Put16(fields, 20);  // version needed
  Put16(fields, 0);   // flags: no data descriptor
  Put16(fields, 0);   // stored
  Put16(fields, 0);   // time
  Put16(fields, 0x21);  // date: 1980-01-01
  Put32(fields, CrcOf(data));
  Put32(fields, static_cast<uint32_t>(data.size()));
  Put32(fields, static_cast<uint32_t>(data.size()));
  Put16(fields, static_cast<uint32_t>(name.size()));
  Put16(fields, 0);  // extra field length
  return fields;
}

}  // namespace

std::string StoredZipBytes(const ZipMembers& members) {
  std::string zip, central;
  for (const auto& [name, data] : members) {
    uint32_t offset = static_cast<uint32_t>(zip.size());
    Put32(zip, 0x04034b50);
    zip += SharedFields(name, data) + name + data;
    Put32(central, 0x02014b50);
    Put16(central, 20);  // version made by
    central += SharedFields(name, data);
    Put16(central, 0);  // comment length
    Put16(central, 0);  // disk number
    Put16(central, 0);  // internal attributes
    Put32(central, 0);  // external attributes
    Put32(central, offset);
    central += name;
  }
  uint32_t centralOffset = static_cast<uint32_t>(zip.size());
  zip += central;
  Put32(zip, 0x06054b50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, static_cast<uint32_t>(members.size()));
  Put16(zip, static_cast<uint32_t>(members.size()));
  Put32(zip, static_cast<uint32_t>(central.size()));
  Put32(zip, centralOffset);
  Put16(zip, 0);
  return zip;
}

}  // namespace kestrel::testing
