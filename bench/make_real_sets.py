#!/usr/bin/env python3
"""Writes a collection of real sets from MAME's own list, for timing a full
scan against `mame -verifyroms` on the same sets.

Real ROM contents are not at hand, so each member is filler whose last four
bytes are chosen to give the listed CRC-32: the zip directories, which are
all a scan reads, are those of the real sets. SHA-1s cannot be forged, so
MAME finds every such ROM "incorrect"; it still reads every set.

Machines taken: in list order, the first N with ROMs, none of them a
no-dump or shorter than 4 bytes, no disk, no samples, no BIOS set and no
device with ROMs of its own, and a clone only after its parent was taken,
so that a non-merged zip of a machine's ROMs is its whole set for both
programs; only those whose ROMs add up to at most MAX_KB kilobytes.

Usage: make_real_sets.py MAME_XML N FOLDER [MAX_KB]
Writes FOLDER/roms/NAME.zip (deflated), FOLDER/list.xml (the list cut down
to those machines and the devices they name) and FOLDER/names.txt. Then:
  mame -verifyroms -rompath FOLDER/roms $(cat FOLDER/names.txt)
  kestrel-cli scan --datfile FOLDER/list.xml --rom-path FOLDER/roms \
      --set-type non-merged --no-zero-crc-creation --no-path-warnings
"""
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zipfile
import zlib


def reverse_table():
    """For each CRC table entry, keyed by its top byte: the entry shifted
    left with its index below, which undoes one step of the CRC."""
    table = {}
    for i in range(256):
        c = i
        for _ in range(8):
            c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
        table[c >> 24] = ((c << 8) & 0xFFFFFFFF) ^ i
    return table


REVERSE = reverse_table()


def forged_tail(prefix_crc, wanted):
    """Four bytes that, appended to data of CRC-32 `prefix_crc`, give `wanted`."""
    state = wanted ^ 0xFFFFFFFF
    for byte in struct.pack('<I', prefix_crc ^ 0xFFFFFFFF)[::-1]:
        state = ((state << 8) & 0xFFFFFFFF) ^ REVERSE[state >> 24] ^ byte
    return struct.pack('<I', state)


_zero_crcs = {}


def forged_data(size, crc):
    filler = _zero_crcs.get(size - 4)
    if filler is None:
        filler = _zero_crcs[size - 4] = zlib.crc32(bytes(size - 4))
    data = bytes(size - 4) + forged_tail(filler, crc)
    assert zlib.crc32(data) == crc
    return data


def usable_roms(machine):
    roms = {}
    for rom in machine.findall('rom'):
        name, crc, size = rom.get('name'), rom.get('crc'), int(rom.get('size', '0'))
        if rom.get('status') == 'nodump' or crc is None or size < 4 or '/' in name or '\\' in name:
            return None
        roms.setdefault(name.lower(), (name, size, int(crc, 16)))
    return list(roms.values())


def pick_machines(root, count, max_bytes):
    devices_with_roms = {m.get('name') for m in root.iter('machine')
                         if m.get('isdevice') == 'yes' and m.find('rom') is not None}
    picked, taken = [], set()
    for machine in root.iter('machine'):
        if len(picked) == count:
            break
        if machine.get('isdevice') == 'yes' or machine.get('isbios') == 'yes':
            continue
        romof = machine.get('romof')
        if romof and (romof != machine.get('cloneof') or romof not in taken):
            continue
        if machine.find('disk') is not None or machine.find('sample') is not None:
            continue
        if any(ref.get('name') in devices_with_roms for ref in machine.findall('device_ref')):
            continue
        roms = usable_roms(machine)
        if not roms or sum(size for _, size, _ in roms) > max_bytes:
            continue
        picked.append((machine, roms))
        taken.add(machine.get('name'))
    return picked


def write_list(root, picked, path):
    names = {machine.get('name') for machine, _ in picked}
    for machine, _ in picked:
        names.update(ref.get('name') for ref in machine.findall('device_ref'))
    cut = ET.Element('mame', root.attrib)
    for machine in root.iter('machine'):
        if machine.get('name') in names:
            cut.append(machine)
    with open(path, 'wb') as out:
        out.write(b'<?xml version="1.0"?>\n')
        ET.ElementTree(cut).write(out)


def main():
    xml_path, count, folder = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    max_bytes = int(sys.argv[4]) * 1024 if len(sys.argv) > 4 else 2 * 1024 * 1024
    root = ET.parse(xml_path).getroot()
    picked = pick_machines(root, count, max_bytes)
    os.makedirs(os.path.join(folder, 'roms'), exist_ok=True)
    total = 0
    for machine, roms in picked:
        with zipfile.ZipFile(os.path.join(folder, 'roms', machine.get('name') + '.zip'), 'w',
                             zipfile.ZIP_DEFLATED) as archive:
            for name, size, crc in roms:
                archive.writestr(name, forged_data(size, crc))
                total += size
    write_list(root, picked, os.path.join(folder, 'list.xml'))
    with open(os.path.join(folder, 'names.txt'), 'w') as out:
        out.write('\n'.join(machine.get('name') for machine, _ in picked) + '\n')
    print(f'{len(picked)} sets, {sum(len(r) for _, r in picked)} ROMs, {total / 1e6:.0f} MB of ROM data')


if __name__ == '__main__':
    main()
