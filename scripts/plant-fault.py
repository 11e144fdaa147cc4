#!/usr/bin/env python3
"""Plants a fault (or replays logged ones), builds, runs the tests, reverts.

A test earns its place when it fails on a plausible fault in the code it
covers; this is how to try that.

  plant-fault.py --tree DIR --file src/x.cpp --old TEXT --new TEXT [--tests REGEX]
  plant-fault.py --tree DIR --log FAULTS.txt [--ids A01,B05] [--under src/scanner/] [--tests REGEX]

A fault log line is: ID<TAB>file<TAB>'old' -> 'new'<TAB>... (Python string
literals on both sides of ' -> ').  Prints per fault: ID RESULT failing-tests,
where RESULT is CAUGHT, MISSED, NOT-APPLICABLE (old text not found exactly
once) or BUILD-FAILED (counted as caught by the compiler, say so).
The build directory is DIR/build (configured beforehand)."""
import argparse, ast, os, re, subprocess, sys

def parse_log(path):
    faults = []
    for line in open(path, encoding="utf-8"):
        parts = line.rstrip("\n").split("\t")
        if len(parts) < 3 or not re.match(r"^[A-Z]+\d+$", parts[0]): continue
        m = None
        for change in parts[2:]:
            m = re.match(r"^((?:'(?:[^'\\]|\\.)*')|(?:\"(?:[^\"\\]|\\.)*\")) -> (.*)$", change)
            if m: break
        if not m: continue
        try:
            old = ast.literal_eval(m.group(1)); new = ast.literal_eval(m.group(2))
        except Exception:
            continue
        faults.append((parts[0], parts[1], old, new))
    return faults

def run(tree, file, old, new, tests):
    path = os.path.join(tree, file)
    if not os.path.exists(path): return "NOT-APPLICABLE", ""
    original = open(path, "rb").read()
    text = original.decode("utf-8")
    if text.count(old) != 1: return "NOT-APPLICABLE", f"found {text.count(old)} times"
    try:
        open(path, "wb").write(text.replace(old, new, 1).encode("utf-8"))
        b = subprocess.run(["cmake", "--build", "build", "-j2"], cwd=tree,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        if b.returncode != 0:
            return "BUILD-FAILED", ""
        cmd = ["ctest", "--test-dir", "build", "-j2", "--timeout", "120"]
        if tests: cmd += ["-R", tests]
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        t = subprocess.run(cmd, cwd=tree, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=env)
        failed = re.findall(r"^\s*\d+ - (\S+)[^\n]*?\((?:Failed|Timeout|SEGFAULT|Subprocess aborted|Exception|Child aborted|OTHER_FAULT)", t.stdout, re.M)
        if t.returncode != 0 and not failed: failed = ["(ctest rc %d)" % t.returncode]
        return ("CAUGHT" if failed else "MISSED"), "; ".join(failed)
    finally:
        open(path, "wb").write(original)

def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--tree", required=True)
    ap.add_argument("--file"); ap.add_argument("--old"); ap.add_argument("--new")
    ap.add_argument("--log"); ap.add_argument("--ids"); ap.add_argument("--under")
    ap.add_argument("--tests")
    a = ap.parse_args()
    if a.log:
        faults = parse_log(a.log)
        if a.ids: faults = [f for f in faults if f[0] in a.ids.split(",")]
        if a.under: faults = [f for f in faults if f[1].startswith(a.under)]
    else:
        faults = [("X", a.file, a.old, a.new)]
    counts = {}
    for fid, file, old, new in faults:
        result, detail = run(a.tree, file, old, new, a.tests)
        counts[result] = counts.get(result, 0) + 1
        print(f"{fid}\t{file}\t{result}\t{detail}", flush=True)
    subprocess.run(["cmake", "--build", "build", "-j2"], cwd=a.tree, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    print("summary: " + ", ".join(f"{k} {v}" for k, v in sorted(counts.items())), flush=True)

if __name__ == "__main__":
    main()
