#!/usr/bin/env python3
"""Writes demo.dat, a small game list of invented games for trying Kestrel.

Every ROM's content is a byte pattern that a collection builder can make
again: for i in 0..size-1, byte = (seed*31 + i*7 + (i>>8)) & 0xFF, where seed
is the 1-based index of the ROM in file order across the whole list. A ROM
that repeats an earlier one (a clone sharing its parent's file, or the same
file under another name) reuses the seed of its first appearance, so both
carry the same CRC. The NeoGeo BIOS files keep their real CRCs, which no
pattern reproduces, and the ROM without a good dump has crc 00000000; both
still take a seed so that the count stays simple.

Usage: make_demo_dat.py [output path], default demo.dat beside this script.
"""

import os
import sys
import zlib

BIOS = [
    ("neo-geo.rom", 0x9036D879),
    ("ng-sfix.rom", 0x354029FC),
    ("ng-sm1.rom", 0x97CF998B),
    ("im_bios.rom", 0x853E6B96),
]
BIOS_SIZE = 131072

# A ROM is (name, size) for fresh content, (name, "same", key) to repeat the
# content first written under `key`, ("name", "bios") for a BIOS file, or
# (name, size, "nodump") for a ROM without a good dump.
GAMES = [
    dict(name="neogeo", description="Neo-Geo BIOS", year="1990", manufacturer="SNK",
         roms=[(name, "bios") for name, _ in BIOS]),
    dict(name="starbl", description="Star Blaster (World)", year="1983", manufacturer="Kestrel Soft",
         roms=[("sb.p1", 8192), ("sb.p2", 8192), ("sb.gfx", 16384), ("sb.snd", 4096)]),
    dict(name="starblj", description="Star Blaster (Japan)", year="1983", manufacturer="Kestrel Soft",
         cloneof="starbl", romof="starbl",
         roms=[("sb.p1", "same", "sb.p1"), ("sbj.p2", 8192), ("sb.gfx", "same", "sb.gfx"),
               ("sbj.snd", "same", "sb.snd")]),
    dict(name="starblu", description="Star Blaster (US)", year="1984", manufacturer="Kestrel Soft",
         cloneof="starbl", romof="starbl",
         roms=[("sb.p1", "same", "sb.p1"), ("sbu.p2", 8192), ("sb.gfx", "same", "sb.gfx"),
               ("sb.snd", "same", "sb.snd")]),
    dict(name="rocket", description="Rocket Rally", year="1982", manufacturer="Harrier Games",
         samples=["engine.wav", "crash.wav", "horn.wav"],
         roms=[("rr.1", 2048), ("rr.2", 2048), ("rr.pal", 1024, "nodump")]),
    dict(name="rocketb", description="Rocket Rally (bootleg)", year="1982", manufacturer="bootleg",
         cloneof="rocket", romof="rocket", sampleof="rocket",
         roms=[("rr.1", "same", "rr.1"), ("rrb.2", 2048), ("rr.pal", 1024, "nodump")]),
    dict(name="nglegend", description="Neo Legends", year="1994", manufacturer="Kestrel Soft",
         romof="neogeo",
         roms=[("neo-geo.rom", "bios"), ("nl-p1.bin", 65536), ("nl-s1.bin", 16384), ("nl-m1.bin", 16384),
               ("ng-sfix.rom", "bios"), ("ng-sm1.rom", "bios")]),
    dict(name="ngstrike", description="Neo Strike", year="1995", manufacturer="Kestrel Soft",
         romof="neogeo",
         roms=[("neo-geo.rom", "bios"), ("ns-p1.bin", 65536), ("ns-s1.bin", 16384), ("ns-m1.bin", 16384),
               ("ng-sfix.rom", "bios"), ("ng-sm1.rom", "bios")]),
    dict(name="puzzle", description="Puzzle Parade", year="1989", manufacturer="Harrier Games",
         roms=[("pp.1", 4096), ("pp.2", 4096), ("pp.gfx", 8192)]),
    dict(name="puzzlea", description="Puzzle Parade (alternate)", year="1989", manufacturer="Harrier Games",
         cloneof="puzzle", romof="puzzle",
         roms=[("pp.1", "same", "pp.1"), ("ppa.2", 4096), ("pp.gfx", "same", "pp.gfx")]),
]


def pattern(seed, size):
    return bytes((seed * 31 + i * 7 + (i >> 8)) & 0xFF for i in range(size))


def rom_lines(games):
    seed = 0
    first = {}  # name -> (size, crc) of content first written under it
    bios = dict(BIOS)
    for game in games:
        lines = []
        for rom in game["roms"]:
            seed += 1
            name = rom[0]
            if rom[1] == "bios":
                size, crc = BIOS_SIZE, bios[name]
            elif rom[1] == "same":
                size, crc = first[rom[2]]
            elif len(rom) == 3 and rom[2] == "nodump":
                size, crc = rom[1], 0
            else:
                size = rom[1]
                crc = zlib.crc32(pattern(seed, size)) & 0xFFFFFFFF
                first[name] = (size, crc)
            lines.append("\trom ( name %s size %d crc %08x )" % (name, size, crc))
        yield game, lines


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "demo.dat")
    text = ['emulator (', '\tname "Kestrel demo"', '\tdescription "Invented games for trying Kestrel"', ')', '']
    for game, lines in rom_lines(GAMES):
        text.append("game (")
        text.append("\tname %s" % game["name"])
        text.append('\tdescription "%s"' % game["description"])
        text.append("\tyear %s" % game["year"])
        text.append('\tmanufacturer "%s"' % game["manufacturer"])
        for key in ("cloneof", "romof", "sampleof"):
            if key in game:
                text.append("\t%s %s" % (key, game[key]))
        text.extend(lines)
        for sample in game.get("samples", []):
            text.append("\tsample %s" % sample)
        text.append("\tvideo ( screen raster orientation horizontal x 256 y 224 )")
        text.append(")")
        text.append("")
    with open(out, "w", newline="\n") as f:
        f.write("\n".join(text))


if __name__ == "__main__":
    main()
