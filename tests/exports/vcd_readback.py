#!/usr/bin/env python3
"""A failed run's VCD read back by sigrok-cli, a reader that shares no code with qel: every lane's
level in every cycle is checked against the test (qel dump) and the run's report."""
import csv
import io
import json
import subprocess
import sys
import tempfile
from pathlib import Path

qel, test = sys.argv[1], sys.argv[2]
with tempfile.TemporaryDirectory() as tmp:
    vcd = Path(tmp) / "run.vcd"
    run = subprocess.run([qel, "run", test, "--tester", "virtual", "--chip", "7400", "--fault", "stuck1:6",
                          "--vcd", str(vcd), "--report", "-"], capture_output=True, text=True)
    assert run.returncode == 1, run.stderr
    report = json.loads(run.stdout)
    dump = json.loads(subprocess.run([qel, "dump", test], capture_output=True, text=True, check=True).stdout)
    read = subprocess.run(["sigrok-cli", "-I", "vcd", "-i", str(vcd), "-O", "csv"], capture_output=True,
                          text=True, check=True).stdout
    header = vcd.read_text().split("$enddefinitions")[0]

# sigrok-cli 0.7 prints its META lines among the data.
rows = [r for r in csv.reader(io.StringIO(read)) if r and not r[0].startswith((";", "META"))]
names = next(line for line in read.splitlines() if line.startswith("; Channels"))
names = [n.strip() for n in names.split(":", 1)[1].split(",")]
assert rows[0][0] == "logic", rows[0]
samples = [[int(v) for v in r] for r in rows[1:]]

pins = [p for p in dump["pins"] if p["typeText"] not in ("NC", "GND", "VCC")]
lanes = [f"{p['pin']}_{p['name']}" if p["name"] else str(p["pin"]) for p in pins]
assert names == lanes * 3, names  # reference, result and mismatch, each in pin order

step, cycles = dump["cycleTime"], dump["cycleCount"]
codes = {r["pin"]: r["codes"] for r in report["result"]}
errors = set(report["errorCycles"])
assert errors, "the fault gave no error cycles"
marked = set()
for c in range(1, cycles + 1):
    row = samples[(c - 1) * step]
    for i, p in enumerate(pins):
        expected = dump["reference"][str(p["pin"])][c - 1]
        code = codes[p["pin"]][c - 1]
        if expected in "01":
            assert row[i] == int(expected), (c, p, "reference")
        if code in "12":
            assert row[len(pins) + i] == int(code) - 1, (c, p, "result")
        mismatch = expected in "01" and code != {"0": "1", "1": "2"}[expected]
        assert row[2 * len(pins) + i] == int(mismatch), (c, p, "mismatch")
        if mismatch:
            marked.add(c)
assert marked == errors, (marked, errors)
for c in errors:
    assert f" {c} (#{(c - 1) * step})" in header, c
print(f"{len(samples)} samples of {len(names)} lanes agree; error cycles {sorted(errors)}")
