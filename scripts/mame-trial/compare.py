#!/usr/bin/env python3
"""Per-set agreement between MAME's audit and Kestrel's --verdicts.

usage: compare.py MACHINES.json WORKDIR/LAYOUT [--examples N]

Reads collection.json, mame-roms.txt, mame-samples.txt and kestrel.txt from
the layout's folder. Counts romsets over the collection's sets (machines,
parents, BIOS and device sets; the drawn machines alone also) and samplesets
over its machines that list samples; groups each difference by the two
verdicts, the kind of set and the fault injected into it or its family, with
MAME's own lines for the first examples.
"""
import collections, json, re, sys

M = json.load(open(sys.argv[1]))
D = sys.argv[2]
N_EX = int(sys.argv[sys.argv.index('--examples') + 1]) if '--examples' in sys.argv else 3
C = json.load(open(D + '/collection.json'))
VERDICT = r'^(romset|sampleset) (\S+)(?: \[(\S+)\])? (is good|is best available|is bad|not found)\s*$'

def verdicts(path, kind):
    out, detail, pending = {}, collections.defaultdict(list), []
    for line in open(path, errors='replace'):
        line = line.rstrip('\n')
        m = re.match(VERDICT, line)
        if m:
            if m.group(1) == kind:
                out[m.group(2)] = m.group(4).replace('is ', '')
                detail[m.group(2)] = pending
            pending = []
        elif line.strip():
            pending.append(line.strip())
    return out, detail

faults = {n: v[0] for n, v in C['faults'].items()}
sfaults = C['sample_faults']
def kind(n):
    m = M[n]
    if m['isdevice'] == 'yes': return 'device'
    if m['isbios'] == 'yes': return 'bios'
    if not any(r['crc'] and r['status'] != 'nodump' for r in m['roms']): return 'machine without dumped ROMs'
    return 'clone' if m['cloneof'] else 'machine'
def family_fault(n):
    fs = []
    if faults.get(n): fs.append(faults[n])
    p = M[n]['cloneof']
    if p and faults.get(p): fs.append('parent: ' + faults[p])
    for c in C['machines']:
        if M[c]['cloneof'] == n and faults.get(c) == 'rom only in parent':
            fs.append('clone: rom only in parent'); break
    return ' + '.join(fs) or '-'

report = []
def out(s=''): report.append(s); print(s)
for what, mame_file, names, fault_of in (
        ('romset', 'mame-roms.txt', C['compare'], family_fault),
        ('sampleset', 'mame-samples.txt', C['sample_machines'],
         lambda n: sfaults.get(M[n]['sampleof'] or n, '-'))):
    mame, mdetail = verdicts(D + '/' + mame_file, what)
    kes, _ = verdicts(D + '/kestrel.txt', what)
    agree = [n for n in names if mame.get(n, 'not found') == kes.get(n, 'not found')]
    out('%s %s: %d of %d agree (%.2f%%)' % (C['layout'], what, len(agree), len(names), 100.0 * len(agree) / max(1, len(names))))
    if what == 'romset':
        d = C['drawn']
        ad = sum(1 for n in d if mame.get(n, 'not found') == kes.get(n, 'not found'))
        out('  drawn machines alone: %d of %d' % (ad, len(d)))
        tally = collections.Counter(mame.get(n, 'not found') for n in names)
        out('  MAME verdicts: ' + ', '.join('%s %d' % kv for kv in sorted(tally.items())))
    classes = collections.defaultdict(list)
    for n in names:
        a, b = mame.get(n, 'not found'), kes.get(n, 'not found')
        if a != b: classes[(a, b, kind(n), fault_of(n))].append(n)
    for (a, b, k, f), v in sorted(classes.items(), key=lambda kv: -len(kv[1])):
        out('  MAME %-15s Kestrel %-15s %-28s fault %-26s %4d  e.g. %s' % (a, b, k, f, len(v), ' '.join(v[:8])))
        for n in v[:N_EX]:
            for line in mdetail.get(n, [])[:4]:
                out('      | ' + line)
            out('      | %s %s -> %s' % (what, n, a))
open(D + '/compare.txt', 'w').write('\n'.join(report) + '\n')
