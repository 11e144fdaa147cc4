#!/usr/bin/env python3
"""Picks random one-line faults in src/ (a fresh, unbiased planted-fault round).

  scripts/random-faults.py --tree . --count N --seed S [--prefix R] > faults.txt

Each fault changes one operator on one line (== / !=, < / <=, > / >=, && / ||,
a dropped '!', + 1 / - 1 dropped, true / false). Faults are drawn at
random among every such change of every line of src/, one per line; the line
must occur once in its file. Output: the fault log format of scripts/plant-fault.py."""
import argparse, os, random, re

OPS = [
    (r" == ", " != "), (r" != ", " == "),
    (r" < ", " <= "), (r" <= ", " < "), (r" > ", " >= "), (r" >= ", " > "),
    (r" && ", " || "), (r" \|\| ", " && "),
    (r"\(!", "("), (r" !(?!=)", " "),
    (r" \+ 1\b", ""), (r" - 1\b", ""),
    (r"\btrue\b", "false"), (r"\bfalse\b", "true"),
]

def candidates(tree):
    found = []
    for folder, _, files in os.walk(os.path.join(tree, "src")):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")): continue
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, tree)
            text = open(path, encoding="utf-8").read()
            for line in text.split("\n"):
                s = line.strip()
                if not s or s.startswith(("//", "#", "*", "static_assert")) or text.count(line) != 1: continue
                code = s.split("//")[0]
                if '"' in code and not re.search(r'[=<>&|!]', code.replace('"', '')): continue
                for pattern, new in OPS:
                    for m in re.finditer(pattern, line):
                        if '"' in line[:m.start()] and line[:m.start()].count('"') % 2: continue
                        found.append((rel, line, line[:m.start()] + new + line[m.end():]))
    return found

def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tree", required=True); ap.add_argument("--count", type=int, default=30)
    ap.add_argument("--seed", type=int, default=1); ap.add_argument("--prefix", default="R")
    a = ap.parse_args()
    pool = candidates(a.tree)
    random.Random(a.seed).shuffle(pool)
    seen = set(); n = 0
    for rel, old, new in pool:
        if (rel, old) in seen: continue
        seen.add((rel, old)); n += 1
        print(f"{a.prefix}{n:02d}\t{rel}\t{old!r} -> {new!r}")
        if n == a.count: break

main()
