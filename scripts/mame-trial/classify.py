#!/usr/bin/env python3
"""Sorts the differences of a finished trial by the MAME rule behind them.

usage: classify.py WORKDIR (holding machines.json and one folder per layout)

The sorting goes by the faults injected, so a difference with two causes is
counted under the first rule that fits."""
import collections, json, os, re, sys
os.chdir(sys.argv[1])
M = json.load(open('machines.json'))
V = r'^(romset|sampleset) (\S+)(?: \[\S+\])? (?:is )?(good|best available|bad|not found)\s*$'
def load(p, kind):
    return {m.group(2): m.group(3) for m in (re.match(V, l) for l in open(p, errors='replace')) if m and m.group(1) == kind}
for L in ['split', 'merged', 'non-merged', 'full-non-merged']:
    c = json.load(open(L + '/collection.json')); F = {n: v[0] for n, v in c['faults'].items()}
    cls = collections.defaultdict(list)
    for kind, mf, names in (('romset', 'mame-roms.txt', c['compare']), ('sampleset', 'mame-samples.txt', c['sample_machines'])):
        mv, kv = load(L + '/' + mf, kind), load(L + '/kestrel.txt', kind)
        for n in names:
            a, b = mv.get(n, 'not found'), kv.get(n, 'not found')
            if a == b: continue
            m = M[n]; p = m['cloneof']
            if kind == 'sampleset': r = 'C1 capitals (sample set)'
            elif F.get(n) == 'capitals' or F.get(p) == 'capitals': r = 'C1 capitals'
            elif m['isdevice'] == 'yes': r = 'C6 device set: own ROMs only'
            elif not any(x['crc'] for x in m['roms']):
                r = 'C5 no ROMs of its own: ' + ('none in devices either (pong)' if a == 'best available' else 'device ROMs decide')
            elif L in ('non-merged', 'full-non-merged') and (F.get(n) in ('rom only in parent', 'missing rom', 'optional missing', 'missing set', 'empty zip')):
                r = 'C2 parent searched in every layout'
            elif F.get(n) == 'rom only in parent':
                r = 'C3 found by CRC under another name'
            elif F.get(n) == 'empty zip' and b == 'bad':
                r = 'C4 not-found count'
            else:
                r = 'C3 found by CRC under another name'
            cls[r].append((n, a, b))
    tot = len(c['compare']) + len(c['sample_machines'])
    print(L, 'differences', sum(map(len, cls.values())), 'of', tot)
    for r, v in sorted(cls.items()):
        print('   %-45s %3d  %s' % (r, len(v), ' '.join('%s(%s/%s)' % x for x in v[:4])))
