#!/usr/bin/python3
"""Whole-process comparison: the 10,000-customer / 5,000-product DATA.xlsx loaded and
every cell of every sheet read, by this project and by its Python peers.

  bench/compare_workbook.py <build>/bench/workbook_readall [DATA.xlsx] [--runs N] [--also NAME=TOOL]

Peers: openpyxl (normal and read_only) and pandas (read_excel, sheet_name=None, over
openpyxl). pandas is a bench peer only: `apt-get install python3-pandas`; without it
its line says so. Each reading is its own process (interpreter start included); the
best of N runs is printed with the ratio of each peer to the project, and each
reader's peak memory beside the file's unpacked XML (the project's also less what
the process holds before it opens the workbook).
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
PY = "/usr/bin/python3"

OPENPYXL = """
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1], read_only={ro})
cells = chars = 0
for ws in wb.worksheets:
    for row in ws.iter_rows(values_only=True):
        for v in row:
            if v is not None:
                cells += 1
                chars += len(str(v))
print(cells, "cells,", chars, "chars")
"""

PANDAS = """
import sys, pandas
frames = pandas.read_excel(sys.argv[1], sheet_name=None, header=None, engine="openpyxl")
cells = chars = 0
for df in frames.values():
    for col in df.columns:
        s = df[col].dropna()
        cells += len(s)
        chars += int(s.astype(str).str.len().sum())
print(cells, "cells,", chars, "chars")
"""


def run(cmd):
    """Seconds, output, errors and exit code of one run."""
    t = time.perf_counter()
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    out, err = p.communicate()
    seconds = time.perf_counter() - t
    return seconds, out, err, p.returncode


def peak_kib(cmd):
    """Peak resident KiB of one run, from a process of its own."""
    pid = os.fork()
    if pid == 0:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, 1)
        os.dup2(devnull, 2)
        try:
            os.execv(cmd[0], cmd)
        finally:
            os._exit(127)
    _, status, usage = os.wait4(pid, 0)
    return usage.ru_maxrss if os.waitstatus_to_exitcode(status) in (0, 2) else None


def best(cmd, runs):
    times, out = [], ""
    for _ in range(runs):
        seconds, out, err, code = run(cmd)
        if code != 0:
            return None, (err.strip().splitlines() or ["failed"])[-1]
        times.append(seconds)
        out = out.strip()
    return min(times), out


def unpacked_xml(data):
    with zipfile.ZipFile(data) as z:
        return sum(i.file_size for i in z.infolist() if i.filename.endswith((".xml", ".rels")))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("tool")
    ap.add_argument("data", nargs="?")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--also", action="append", default=[], metavar="NAME=TOOL",
                    help="another build of the reading tool, e.g. an earlier one, shown beside it")
    a = ap.parse_args()
    data = a.data or os.path.join(tempfile.gettempdir(), "kuvela-bench-workbook", "DATA.xlsx")
    if not os.path.exists(data):
        os.makedirs(os.path.dirname(data), exist_ok=True)
        subprocess.run([PY, os.path.join(HERE, "..", "tests", "fixtures", "workbook_fixtures.py"), "make", "data", data],
                       check=True)
    xml = unpacked_xml(data)
    print(f"{data}: {os.path.getsize(data)} bytes, {xml / 2**20:.1f} MiB of XML unpacked, best of {a.runs} runs per reader")
    readers = [
        ("kuvela", [a.tool, data]),
        *[(f"kuvela {n}", [t, data]) for n, t in (x.split("=", 1) for x in a.also)],
        ("openpyxl", [PY, "-c", OPENPYXL.format(ro=False), data]),
        ("openpyxl read_only", [PY, "-c", OPENPYXL.format(ro=True), data]),
        ("pandas read_excel", [PY, "-c", PANDAS, data]),
    ]
    base = None
    for name, cmd in readers:
        t, out = best(cmd, a.runs if name.startswith("kuvela") else max(1, min(a.runs, 3)))
        if t is None:
            print(f"{name:20s}  not run: {out}")
            continue
        if base is None:
            base = t
        peak = peak_kib(cmd)
        memory = f"peak {peak / 1024:6.1f} MiB = {peak * 1024 / xml:4.2f}x XML" if peak else "peak ?"
        if name.startswith("kuvela") and peak:
            # Without a file the tool stops at its usage line: what the process holds anyway.
            idle = peak_kib(cmd[:1])
            if idle:
                memory += f", {(peak - idle) / 1024:.1f} MiB = {(peak - idle) * 1024 / xml:4.2f}x XML past start"
        print(f"{name:20s} {t * 1000:8.0f} ms  {t / base:6.1f}x  {memory}  ({out})")
    return 0 if base is not None else 1


if __name__ == "__main__":
    sys.exit(main())
