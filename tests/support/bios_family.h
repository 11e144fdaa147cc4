// A hand-written game list with two BIOS sets, each with a parent and a
// clone using it, and the collection it makes in each layout.
//
//   biosa (BIOS)  bios-a1.bin, bios-a2.bin
//   gamea         gamea.p1, gamea.p2, bios-a1.bin, a2.bin (= bios-a2.bin)
//   gamea2        clone of gamea: gamea2.p1, gamea.p2, bios-a1.bin, a2.bin
//   biosb (BIOS)  bios-b.bin, shared.bin
//   gameb         gameb.p1, bios-b.bin, shared.bin (a content of its own)
//   gameb2        clone of gameb: gameb2.p1, bios-b.bin
//   gamec         bios-b.bin only
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "support/crc_data.h"

namespace kestrel::testing {

// The list as an emulator's XML list writes it.
inline std::string BiosFamilyXml() {
  return R"list(<?xml version="1.0"?>
<mame build="test">
<machine name="biosa" isbios="yes"><description>BIOS A</description>
  <rom name="bios-a1.bin" size="1024" crc="a1a1a1a1"/>
  <rom name="bios-a2.bin" size="1024" crc="a2a2a2a2"/></machine>
<machine name="gamea" romof="biosa"><description>Game A</description>
  <rom name="gamea.p1" size="1024" crc="0a0a0a01"/>
  <rom name="gamea.p2" size="1024" crc="0a0a0a02"/>
  <rom name="bios-a1.bin" merge="bios-a1.bin" size="1024" crc="a1a1a1a1"/>
  <rom name="a2.bin" merge="bios-a2.bin" size="1024" crc="a2a2a2a2"/></machine>
<machine name="gamea2" cloneof="gamea" romof="gamea"><description>Game A (set 2)</description>
  <rom name="gamea2.p1" size="1024" crc="0a0a0a21"/>
  <rom name="gamea.p2" merge="gamea.p2" size="1024" crc="0a0a0a02"/>
  <rom name="bios-a1.bin" merge="bios-a1.bin" size="1024" crc="a1a1a1a1"/>
  <rom name="a2.bin" merge="a2.bin" size="1024" crc="a2a2a2a2"/></machine>
<machine name="biosb" isbios="yes"><description>BIOS B</description>
  <rom name="bios-b.bin" size="1024" crc="b1b1b1b1"/>
  <rom name="shared.bin" size="1024" crc="b2b2b2b2"/></machine>
<machine name="gameb" romof="biosb"><description>Game B</description>
  <rom name="gameb.p1" size="1024" crc="0b0b0b01"/>
  <rom name="bios-b.bin" merge="bios-b.bin" size="1024" crc="b1b1b1b1"/>
  <rom name="shared.bin" size="1024" crc="0b0b0bff"/></machine>
<machine name="gameb2" cloneof="gameb" romof="gameb"><description>Game B (set 2)</description>
  <rom name="gameb2.p1" size="1024" crc="0b0b0b21"/>
  <rom name="bios-b.bin" merge="bios-b.bin" size="1024" crc="b1b1b1b1"/></machine>
<machine name="gamec" romof="biosb"><description>Game C</description>
  <rom name="bios-b.bin" merge="bios-b.bin" size="1024" crc="b1b1b1b1"/></machine>
</mame>
)list";
}

// Data of a ROM content of the list.
inline std::string BiosFamilyData(uint32_t crc) { return DataWithCrc(1024, crc); }

using SetContents = std::map<std::string, std::string>;  // member name -> data
using Collection = std::map<std::string, SetContents>;   // set name -> members

// The complete collection in a layout: 1 split, 2 merged, any other full
// non-merged (every set holds its BIOS ROMs too).
inline Collection BiosFamilyCollection(int layout) {
  auto d = BiosFamilyData;
  Collection sets;
  sets["biosa"] = {{"bios-a1.bin", d(0xa1a1a1a1)}, {"bios-a2.bin", d(0xa2a2a2a2)}};
  sets["biosb"] = {{"bios-b.bin", d(0xb1b1b1b1)}, {"shared.bin", d(0xb2b2b2b2)}};
  sets["gamea"] = {{"gamea.p1", d(0x0a0a0a01)}, {"gamea.p2", d(0x0a0a0a02)}};
  sets["gameb"] = {{"gameb.p1", d(0x0b0b0b01)}, {"shared.bin", d(0x0b0b0bff)}};
  if (layout == 1) {
    sets["gamea2"] = {{"gamea2.p1", d(0x0a0a0a21)}};
    sets["gameb2"] = {{"gameb2.p1", d(0x0b0b0b21)}};
  } else if (layout == 2) {
    sets["gamea"]["gamea2.p1"] = d(0x0a0a0a21);
    sets["gameb"]["gameb2.p1"] = d(0x0b0b0b21);
  } else {
    sets["gamea"]["bios-a1.bin"] = d(0xa1a1a1a1);
    sets["gamea"]["a2.bin"] = d(0xa2a2a2a2);
    sets["gamea2"] = {{"gamea2.p1", d(0x0a0a0a21)}, {"gamea.p2", d(0x0a0a0a02)},
                      {"bios-a1.bin", d(0xa1a1a1a1)}, {"a2.bin", d(0xa2a2a2a2)}};
    sets["gameb"]["bios-b.bin"] = d(0xb1b1b1b1);
    sets["gameb2"] = {{"gameb2.p1", d(0x0b0b0b21)}, {"bios-b.bin", d(0xb1b1b1b1)}};
    sets["gamec"] = {{"bios-b.bin", d(0xb1b1b1b1)}};
  }
  return sets;
}

}  // namespace kestrel::testing
