#include "report/logiqx_datfile.h"

#include <cinttypes>
#include <cstdio>

#include "report/utf8_text.h"

namespace kestrel {
namespace {

std::string Attribute(const char* name, const std::string& value) {
  return std::string(" ") + name + "=\"" + XmlText(value) + "\"";
}

std::string RomElement(const DatRom& rom) {
  std::string line = "\t\t<rom" + Attribute("name", rom.name) + Attribute("size", std::to_string(rom.size)) +
                     Attribute("crc", CrcText(rom.crc));
  if (rom.sha1) line += Attribute("sha1", Sha1Text(*rom.sha1));
  return line + "/>\n";
}

std::string DiskElement(const DatDisk& disk) {
  std::string line = "\t\t<disk" + Attribute("name", disk.name);
  if (disk.sha1) line += Attribute("sha1", Sha1Text(*disk.sha1));
  return line + "/>\n";
}

std::string GameElement(const DatGame& game) {
  std::string text = "\t<game" + Attribute("name", game.name);
  if (!game.cloneOf.empty()) text += Attribute("cloneof", game.cloneOf);
  if (!game.romOf.empty()) text += Attribute("romof", game.romOf);
  text += ">\n\t\t<description>" + XmlText(game.description) + "</description>\n";
  for (const DatRom& rom : game.roms) text += RomElement(rom);
  for (const DatDisk& disk : game.disks) text += DiskElement(disk);
  return text + "\t</game>\n";
}

}  // namespace

std::string CrcText(uint32_t crc) {
  char buffer[12];
  std::snprintf(buffer, sizeof buffer, "%08" PRIx32, crc);
  return buffer;
}

std::string XmlText(const std::string& bytes) {
  std::string text;
  for (char c : Utf8FromBytes(bytes)) {
    switch (c) {
      case '&': text += "&amp;"; break;
      case '<': text += "&lt;"; break;
      case '>': text += "&gt;"; break;
      case '"': text += "&quot;"; break;
      case '\'': text += "&apos;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') text += c;
    }
  }
  return text;
}

std::string RenderLogiqxDatfile(const std::string& title, const std::vector<DatGame>& games) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE datafile PUBLIC \"-//Logiqx//DTD ROM Management Datafile//EN\" "
      "\"http://www.logiqx.com/Dats/datafile.dtd\">\n"
      "<datafile>\n\t<header>\n\t\t<name>" +
      XmlText(title) + "</name>\n\t\t<description>" + XmlText(title) +
      "</description>\n\t\t<author>kestrel-cli</author>\n\t</header>\n";
  for (const DatGame& game : games) text += GameElement(game);
  return text + "</datafile>\n";
}

}  // namespace kestrel
