#!/usr/bin/env python3
"""Writes one large set for timing a scan by hand: a text datfile of one game
and a stored zip of its members, in two shapes.

  wrong-names N   a game of N ROMs of distinct content, and a zip holding
                  every one of them under a wrong name
  same-crc N      a game of N ROMs that all share one content (one CRC),
                  and a zip holding every other one under its own name
                  (a zip holds at most 65,535 members)
  same-crc-none N the same game, and a zip holding one unrelated member

Usage: make_big_set.py SHAPE N FOLDER
Then: kestrel-cli scan --datfile FOLDER/big.dat --rom-path FOLDER/roms ...
"""
import os
import struct
import sys
import zlib


def write_zip(path, members):
    """A stored zip of (name, data) pairs, written by hand for speed."""
    local, central = bytearray(), bytearray()
    for name, data in members:
        raw = name.encode()
        crc = zlib.crc32(data)
        offset = len(local)
        local += struct.pack('<IHHHHHIIIHH', 0x04034B50, 20, 0, 0, 0, 0, crc, len(data), len(data), len(raw), 0)
        local += raw + data
        central += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 20, 20, 0, 0, 0, 0, crc, len(data), len(data),
                               len(raw), 0, 0, 0, 0, 0, offset)
        central += raw
    count = len(members)
    end = struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, count, count, len(central), len(local), 0)
    with open(path, 'wb') as out:
        out.write(local + central + end)


def main():
    shape, count, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    os.makedirs(os.path.join(folder, 'roms'), exist_ok=True)
    if shape == 'wrong-names':
        contents = [b'%08d' % i for i in range(count)]
        members = [('wrong%06d.bin' % i, contents[i]) for i in range(count)]
    elif shape == 'same-crc':
        contents = [b'same'] * count
        members = [('r%06d.bin' % i, contents[i]) for i in range(0, count, 2)]
    elif shape == 'same-crc-none':
        contents = [b'same'] * count
        members = [('other.bin', b'other')]
    else:
        sys.exit('shape must be wrong-names, same-crc or same-crc-none')
    lines = ['game (', '\tname big', '\tdescription "Big"']
    for i, data in enumerate(contents):
        lines.append('\trom ( name r%06d.bin size %d crc %08x )' % (i, len(data), zlib.crc32(data)))
    lines.append(')')
    with open(os.path.join(folder, 'big.dat'), 'w') as out:
        out.write('\n'.join(lines) + '\n')
    write_zip(os.path.join(folder, 'roms', 'big.zip'), members)


if __name__ == '__main__':
    main()
