#!/usr/bin/env python3
"""to_7z.py OUTDIR SHARE [SEED]: repacks about SHARE (0..1) of the machine
sets in OUTDIR/roms (made by make_collection.py) from zip to 7z with the 7z
program, members and their folders as they were, and lists the sets repacked
in OUTDIR/sevenzip.txt. Empty zips stay zips (7z writes no empty archive).
MAME reads a set from NAME.7z when NAME.zip is not there."""
import os, random, shutil, subprocess, sys, tempfile, zipfile

out, share = sys.argv[1], float(sys.argv[2])
rnd = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 7)
roms = os.path.join(out, 'roms')
repacked = []
for name in sorted(os.listdir(roms)):
    path = os.path.join(roms, name)
    if not name.endswith('.zip') or rnd.random() >= share:
        continue
    with zipfile.ZipFile(path) as z:
        if not z.namelist():
            continue
        staging = tempfile.mkdtemp(dir=out)
        z.extractall(staging)
    target = os.path.join(roms, name[:-4] + '.7z')
    subprocess.run(['7z', 'a', '-t7z', '-mx=1', '-bd', '-bso0', target, '.'], cwd=staging, check=True)
    shutil.rmtree(staging)
    os.remove(path)
    repacked.append(name[:-4])
with open(os.path.join(out, 'sevenzip.txt'), 'w') as f:
    f.write('\n'.join(repacked) + '\n')
print('repacked %d sets as 7z' % len(repacked))
