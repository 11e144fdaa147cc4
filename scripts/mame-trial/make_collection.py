#!/usr/bin/env python3
"""Build a trial collection from MAME's own list in one of the four layouts.

usage: make_collection.py MACHINES.json LAYOUT OUTDIR [--draw N] [--seed S]
       [--fault-seed S2] [--fault-rate F] [--max-bytes B] [--extra-samples K]

MACHINES.json comes from parse_listxml.py. Draws N machines at random, then K
more among those with samples, K/10 more that list no ROM at all (pong) and
K/5 more with optional ROMs; none is a BIOS or device set, has a disk, or
needs more than B bytes with its family. Adds their parents, and the BIOS and
device sets the layout needs; writes OUTDIR/roms and OUTDIR/samples with
forged contents (each member has the listed size and CRC-32, which is all
MAME's audit reads from a zip); injects faults into about F of the machine
sets and sample sets; writes OUTDIR/collection.json (the sets, the faults and
the names to compare). The draw depends on S only, so the four layouts hold
the same machines; the faults differ by layout.
"""
import argparse, json, os, random, shutil, zipfile, zlib

ap = argparse.ArgumentParser()
ap.add_argument('machines'); ap.add_argument('layout', choices=['split', 'merged', 'non-merged', 'full-non-merged'])
ap.add_argument('out'); ap.add_argument('--draw', type=int, default=1000)
ap.add_argument('--seed', type=int, default=26); ap.add_argument('--fault-seed', type=int)
ap.add_argument('--fault-rate', type=float, default=0.2)
ap.add_argument('--max-bytes', type=int, default=32 << 20)
ap.add_argument('--extra-samples', type=int, default=150)
a = ap.parse_args()
M = json.load(open(a.machines))
L = a.layout

# ---- forged contents: body of zeros, last four bytes chosen for the CRC-32
T = []
for i in range(256):
    c = i
    for _ in range(8):
        c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
    T.append(c)
REV = {T[i] >> 24: i for i in range(256)}
def forge(size, crc, seed=0):
    if size < 4:  # too small to steer: only a few exist; brute force
        for v in range(1 << (8 * size)):
            d = v.to_bytes(size, 'little')
            if zlib.crc32(d) == crc: return d
        return bytes(size)
    head = bytes([(seed * 7 + i) & 0xFF for i in range(min(size - 4, 64))])
    body = head + bytes(size - 4 - len(head))
    reg = zlib.crc32(body) ^ 0xFFFFFFFF
    x = crc ^ 0xFFFFFFFF; idx = [0] * 4
    for k in range(3, -1, -1):
        i = REV[x >> 24]; idx[k] = i; x = ((x ^ T[i]) << 8) & 0xFFFFFFFF
    out = bytearray(); r = reg
    for k in range(4):
        b = (r ^ idx[k]) & 0xFF; out.append(b); r = T[(r ^ b) & 0xFF] ^ (r >> 8)
    data = body + bytes(out)
    assert zlib.crc32(data) == crc
    return data

# ---- the list's relations
def dumped(name):
    seen, out = set(), []
    for r in M[name]['roms']:
        if r['status'] == 'nodump' or not r['crc']: continue
        k = (r['name'].lower(), r['crc'])
        if k in seen: continue
        seen.add(k); out.append(r)
    return out
def bios_of(name):
    seen = set(); n = M[name]['romof']
    while n and n in M and n not in seen:
        seen.add(n)
        if M[n]['isbios'] == 'yes': return n
        n = M[n]['romof']
    return None
def devices_of(name, seen=None):
    seen = set() if seen is None else seen
    for d in M[name]['devices']:
        if d in M and d != name and d not in seen:
            seen.add(d); devices_of(d, seen)
    return seen
def rom_devices(name):
    return sorted(d for d in devices_of(name) if dumped(d))
def family_bytes(name):
    names = {name}
    if M[name]['cloneof']: names.add(M[name]['cloneof'])
    b = bios_of(name)
    if b: names.add(b)
    for n in list(names): names |= set(rom_devices(n))
    if any(M[n]['disks'] for n in names if n in M): return None
    return sum(int(r['size'] or 0) for n in names if n in M for r in dumped(n))

# ---- draw
rnd = random.Random(a.seed)
pool = sorted(n for n, m in M.items() if m['isdevice'] != 'yes' and m['isbios'] != 'yes')
rnd.shuffle(pool)
drawn = []
for n in pool:
    fb = family_bytes(n)
    if fb is None or fb > a.max_bytes: continue
    drawn.append(n)
    if len(drawn) >= a.draw: break
# a few more machines with samples, since only about one machine in 25 has them
extra = 0
for n in pool:
    if extra >= a.extra_samples: break
    if n in drawn or not M[n]['samples']: continue
    fb = family_bytes(n)
    if fb is None or fb > a.max_bytes: continue
    drawn.append(n); extra += 1
# and some that list no ROM at all, themselves or in their devices (pong)
extra = 0
for n in pool:
    if extra >= a.extra_samples // 10: break
    if n in drawn or family_bytes(n) != 0: continue
    drawn.append(n); extra += 1
# and some with optional ROMs, rarer still
extra = 0
for n in pool:
    if extra >= a.extra_samples // 5: break
    if n in drawn or not any(r['optional'] == 'yes' for r in dumped(n)): continue
    fb = family_bytes(n)
    if fb is None or fb > a.max_bytes: continue
    drawn.append(n); extra += 1
machines = set(drawn)
for n in drawn:
    p = M[n]['cloneof']
    if p and p in M: machines.add(p)
bioses = {bios_of(n) for n in machines} - {None}
devices = set()
for n in machines | bioses: devices |= set(rom_devices(n))
if L == 'full-non-merged':
    # every set runs alone: no BIOS or device sets are needed
    sets_in = sorted(machines)
else:
    sets_in = sorted(machines | bioses | devices)

# ---- layout: each zip is a list of entries (member name, size, crc, owner, optional)
def entry(r, owner, member=None):
    return {'name': member or r['name'], 'size': int(r['size']), 'crc': int(r['crc'], 16),
            'owner': owner, 'optional': r['optional'] == 'yes'}
zips = {}
def own(n): return [r for r in dumped(n) if not r['merge']]
def add_unique(lst, e, prefix):
    for x in lst:
        if x['name'].lower() == e['name'].lower():
            if x['crc'] == e['crc'] and x['size'] == e['size']: return
            e = dict(e, name=prefix + '/' + e['name']); break
    lst.append(e)
for n in sets_in:
    m = M[n]
    if L == 'split' or m['isdevice'] == 'yes' or m['isbios'] == 'yes':
        ents = [entry(r, n) for r in own(n)]
    elif L == 'non-merged':
        b = bios_of(n); bcrc = {(r['crc']) for r in dumped(b)} if b else set()
        ents = [entry(r, n) for r in dumped(n) if not (r['merge'] and r['crc'] in bcrc)]
    elif L == 'full-non-merged':
        ents = []
        for r in dumped(n): add_unique(ents, entry(r, n), n)
        for d in rom_devices(n):
            for r in dumped(d): add_unique(ents, entry(r, n), d)
    elif L == 'merged':
        if m['cloneof'] and m['cloneof'] in machines: continue  # lives in the parent's set
        ents = [entry(r, n) for r in own(n)]
        for c in sorted(x for x in machines if M[x]['cloneof'] == n):
            for r in own(c): add_unique(ents, entry(r, c), c)
    if ents: zips[n] = ents

# ---- faults
frnd = random.Random(a.fault_seed if a.fault_seed is not None else a.seed * 1000 + ['split', 'merged', 'non-merged', 'full-non-merged'].index(L))
def zip_of(n):
    if n in zips: return n
    p = M[n]['cloneof']
    if L == 'merged' and p in zips: return p
    return None
def owned(n):
    z = zip_of(n)
    return [e for e in zips[z] if e['owner'] == n] if z else []
candidates = sorted(machines)
clones = {}
for c in machines:
    if M[c]['cloneof']: clones.setdefault(M[c]['cloneof'], []).append(c)
frnd.shuffle(candidates)
target = int(round(a.fault_rate * len(machines)))
faults = {}
KINDS = ['missing rom', 'wrong crc', 'wrong size', 'missing set', 'rom only in parent',
         'optional missing', 'capitals', 'empty zip']
for n in candidates:
    if len(faults) >= target: break
    ok = []
    own_e = owned(n)
    if own_e: ok += ['missing rom', 'wrong crc', 'wrong size']
    if n in zips:
        ok += ['missing set', 'empty zip']
        if n.upper() != n: ok.append('capitals')
        p = M[n]['cloneof']
        if p and p in zips and p not in faults: ok.append('rom only in parent')
    if any(e['optional'] for e in own_e): ok = ['optional missing'] * 3 + ok
    # a parent holding a clone's moved ROM keeps its set whole
    if any(faults.get(c, ('',))[0] == 'rom only in parent' for c in clones.get(n, ())):
        ok = [k for k in ok if k not in ('missing set', 'empty zip', 'capitals')]
    if not ok: continue
    k = frnd.choice(ok)
    detail = None
    if k in ('missing rom', 'wrong crc', 'wrong size'):
        detail = frnd.choice(own_e)['name']
    elif k == 'optional missing':
        detail = frnd.choice([e for e in own_e if e['optional']])['name']
    elif k == 'rom only in parent':
        detail = frnd.choice(zips[n])['name']
    faults[n] = (k, detail)
for n, (k, d) in faults.items():
    z = zip_of(n)
    if k in ('missing rom', 'optional missing'):
        zips[z] = [e for e in zips[z] if not (e['owner'] == n and e['name'] == d)]
    elif k == 'wrong crc':
        for e in zips[z]:
            if e['owner'] == n and e['name'] == d: e['fault'] = 'crc'
    elif k == 'wrong size':
        for e in zips[z]:
            if e['owner'] == n and e['name'] == d: e['fault'] = 'size'
    elif k == 'rom only in parent':
        e = next(e for e in zips[n] if e['name'] == d)
        zips[n].remove(e)
        p = M[n]['cloneof']
        if not any(x['name'].lower() == e['name'].lower() and x['crc'] == e['crc'] for x in zips[p]):
            add_unique(zips[p], dict(e, owner=p), n)

# ---- samples: one set per sampleof name
sample_sets = {}
for n in machines:
    if M[n]['samples']:
        sample_sets.setdefault(M[n]['sampleof'] or n, set()).update(M[n]['samples'])
ss = sorted(sample_sets); frnd.shuffle(ss)
sfaults = {}
for s in ss[:max(1, int(len(ss) * a.fault_rate))]:
    sfaults[s] = frnd.choice(['sample missing', 'sample missing', 'sample set missing', 'sample set in capitals'])

# ---- write
shutil.rmtree(a.out, ignore_errors=True)
os.makedirs(a.out + '/roms'); os.makedirs(a.out + '/samples')
for n, ents in zips.items():
    k = faults.get(n, (None,))[0]
    if k == 'missing set': continue
    fname = (n.upper() if k == 'capitals' else n) + '.zip'
    with zipfile.ZipFile(os.path.join(a.out, 'roms', fname), 'w', zipfile.ZIP_DEFLATED, compresslevel=1) as z:
        if k == 'empty zip': continue
        for j, e in enumerate(ents):
            data = forge(e['size'], e['crc'], j)
            if e.get('fault') == 'crc': data = bytes([data[0] ^ 1]) + data[1:]
            if e.get('fault') == 'size': data = data + b'\0'
            z.writestr(e['name'], data)
for s, names in sample_sets.items():
    k = sfaults.get(s)
    if k == 'sample set missing': continue
    fname = (s.upper() if k == 'sample set in capitals' else s) + '.zip'
    with zipfile.ZipFile(os.path.join(a.out, 'samples', fname), 'w') as z:
        for j, w in enumerate(sorted(names)):
            if k == 'sample missing' and j == 0: continue
            z.writestr(w + '.wav', b'RIFF\x24\x00\x00\x00WAVEfmt ')
compare = sorted(machines) if L == 'full-non-merged' else sorted(machines | bioses | devices)
json.dump({'layout': L, 'seed': a.seed, 'drawn': sorted(drawn), 'machines': sorted(machines),
           'bioses': sorted(bioses), 'devices': sorted(devices), 'compare': compare,
           'faults': {n: list(v) for n, v in faults.items()}, 'sample_sets': sorted(sample_sets),
           'sample_machines': sorted(n for n in machines if M[n]['samples']),
           'sample_faults': sfaults}, open(os.path.join(a.out, 'collection.json'), 'w'), indent=1)
print('%s: drawn %d, machines %d, bios %d, devices %d, zips %d, faults %d, sample sets %d (faults %d)' % (
    L, len(drawn), len(machines), len(bioses), len(devices), len(zips), len(faults), len(sample_sets), len(sfaults)))
