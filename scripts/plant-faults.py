#!/usr/bin/env python3
"""plant-faults.py FAULTS [--build DIR] [--only NAME...]: plants each fault of FAULTS in the source tree
one at a time, builds, runs the whole ctest suite and puts the source back; prints, per fault, whether
the suite caught it (a failing test, a sanitizer report, a build error counts as caught only when said).

FAULTS holds entries of the form

    ## name of the fault
    file: src/core/canvas.cpp
    - exact text to replace (one or more lines, each after "- ")
    + its replacement (zero or more lines, each after "+ ")

The text to replace must occur exactly once in the file. The build folder (default build-faults) is
configured from the "test" preset's settings on first use (with --fast, optimised and without the
sanitizers, which misses faults that only a sanitizer reports). It may be a build folder of its own or
build-test; the suite stops at the first failing test.
"""
import argparse
import pathlib
import re
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent


def parse(path):
    faults, current = [], None
    for line in pathlib.Path(path).read_text(encoding="utf-8").splitlines():
        if line.startswith("## "):
            current = {"name": line[3:].strip(), "file": None, "old": [], "new": []}
            faults.append(current)
        elif current is None or not line.strip():
            continue
        elif line.startswith("file: "):
            current["file"] = line[6:].strip()
        elif line.startswith("- ") or line == "-":
            current["old"].append(line[2:])
        elif line.startswith("+ ") or line == "+":
            current["new"].append(line[2:])
    return faults


def run(command, log, timeout):
    with open(log, "a", encoding="utf-8") as out:
        try:
            return subprocess.run(command, cwd=ROOT, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return "timeout"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("faults")
    parser.add_argument("--build", default="build-faults")
    parser.add_argument("--only", nargs="*")
    parser.add_argument("--jobs", default="2")
    parser.add_argument("--fast", action="store_true", help="an optimised build without the sanitizers")
    args = parser.parse_args()
    build = ROOT / args.build
    logs = build / "fault-logs"
    logs.mkdir(parents=True, exist_ok=True)
    if not (build / "CMakeCache.txt").exists():
        fast = ["-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DVANDORA_SANITIZE=OFF", "-DVANDORA_BENCHMARKS=OFF"]
        subprocess.run(["cmake", "--preset", "test", "-B", str(build)] + (fast if args.fast else []), cwd=ROOT, check=True)
    faults = [f for f in parse(args.faults) if not args.only or f["name"] in args.only]
    caught = 0
    for fault in faults:
        source = ROOT / fault["file"]
        text = source.read_text(encoding="utf-8")
        old, new = "\n".join(fault["old"]), "\n".join(fault["new"])
        if text.count(old) != 1:
            print(f"SKIPPED  {fault['name']}: the text occurs {text.count(old)} times in {fault['file']}", flush=True)
            continue
        log = logs / (re.sub(r"\W+", "_", fault["name"]) + ".log")
        log.write_text("", encoding="utf-8")
        started = time.time()
        try:
            source.write_text(text.replace(old, new), encoding="utf-8")
            built = run(["cmake", "--build", str(build), "--parallel", args.jobs], log, 1800)
            result = "build error" if built != 0 else None
            if result is None:
                tested = run(["ctest", "--test-dir", str(build), "-j", args.jobs, "--timeout", "300", "--stop-on-failure"],
                            log, 3600)
                result = "caught" if tested != 0 else "MISSED"
        finally:
            source.write_text(text, encoding="utf-8")
        caught += result != "MISSED"
        print(f"{result:<12} {fault['name']} ({fault['file']}, {time.time() - started:.0f} s)", flush=True)
    # Rebuild the untouched tree, so the build folder matches the sources again.
    run(["cmake", "--build", str(build), "--parallel", args.jobs], logs / "restore.log", 1800)
    print(f"{caught} of {len(faults)} faults caught or refused by the build")
    return 0


if __name__ == "__main__":
    sys.exit(main())
