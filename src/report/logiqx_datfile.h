// Writing a Logiqx XML datfile, the list form every ROM manager reads: a
// <datafile> with a <header> and one <game> per set, its <rom>s and
// <disk>s. Kestrel reads it back as a game list (gamedb/xml_game_list.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/sha1_digest.h"

namespace kestrel {

struct DatRom {
  std::string name;
  uint32_t size = 0;
  uint32_t crc = 0;
  std::optional<Sha1Digest> sha1;  // written only when known
};

struct DatDisk {
  std::string name;  // without ".chd"
  std::optional<Sha1Digest> sha1;
};

struct DatGame {
  std::string name;
  std::string description;
  std::string cloneOf;  // empty: none written
  std::string romOf;    // empty: none written
  std::vector<DatRom> roms;
  std::vector<DatDisk> disks;
};

// The whole datfile, in UTF-8 (names that are not UTF-8 as utf8_text.h
// says). `title` goes into the header's name and description.
std::string RenderLogiqxDatfile(const std::string& title, const std::vector<DatGame>& games);

// A CRC-32 as datfiles write it: eight lower-case hexadecimal digits. The
// reports write CRCs the same way.
std::string CrcText(uint32_t crc);

// `bytes` as the text of an XML attribute or element: UTF-8, with the five
// markup characters as entities and other control characters left out
// (XML 1.0 cannot hold them at all).
std::string XmlText(const std::string& bytes);

}  // namespace kestrel
