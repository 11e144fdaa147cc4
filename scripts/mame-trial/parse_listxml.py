#!/usr/bin/env python3
# usage: parse_listxml.py MAME.xml MACHINES.json
# Reads MAME's list into a small JSON: machines with their ROMs, samples, device refs.
import xml.etree.ElementTree as ET, json, sys
out = {}
for ev, el in ET.iterparse(sys.argv[1]):
    if el.tag != 'machine':
        continue
    m = {k: el.get(k) for k in ('name', 'cloneof', 'romof', 'sampleof', 'isdevice', 'isbios')}
    m['roms'] = [{k: r.get(k) for k in ('name', 'size', 'crc', 'merge', 'status', 'optional', 'bios')} for r in el.findall('rom')]
    m['disks'] = len(el.findall('disk'))
    m['samples'] = [s.get('name') for s in el.findall('sample')]
    m['devices'] = sorted({d.get('name') for d in el.findall('device_ref')})
    out[m['name']] = m
    el.clear()
json.dump(out, open(sys.argv[2], 'w'))
print(len(out))
