#!/usr/bin/env python3
"""A failed run's two CSV files read back by Python's csv module and checked against the test
(qel dump) and the run's report, with a pin name that needs quoting."""
import csv
import json
import subprocess
import sys
import tempfile
from pathlib import Path

qel, example = sys.argv[1], Path(sys.argv[2])
with tempfile.TemporaryDirectory() as tmp:
    tmp = Path(tmp)
    test = tmp / "counter.qel"
    # Pin 3 renamed to something a naive writer would split: a comma and a quote.
    test.write_bytes(example.read_bytes().replace(b"i3=D0", b'i3=D,"0"'))
    table, levels = tmp / "table.csv", tmp / "levels.csv"
    run = subprocess.run([qel, "run", str(test), "--tester", "virtual", "--chip", "74161", "--fault", "stuck0:14",
                          "--csv", str(table), "--csv-levels", str(levels), "--report", "-"],
                         capture_output=True, text=True)
    assert run.returncode == 1, run.stderr
    report = json.loads(run.stdout)
    dump = json.loads(subprocess.run([qel, "dump", str(test)], capture_output=True, text=True, check=True).stdout)
    with open(table, newline="", encoding="utf-8-sig") as f:
        table_rows = list(csv.reader(f))
    with open(levels, newline="", encoding="utf-8-sig") as f:
        level_rows = list(csv.DictReader(f))

cycles = dump["cycleCount"]
codes = {r["pin"]: r["codes"] for r in report["result"]}
errors = set(report["errorCycles"])
assert errors

# The table: one row per cycle and word, in order; mismatch where a defined value differs.
words = [w["name"] for w in dump["dataWords"]]
assert table_rows[0] == ["Такт", "Слово Данных", "Данные (Эталон)", "Данные (Результат)", "Несовпадение"]
body = table_rows[1:]
assert len(body) == cycles * len(words), len(body)
for i, (cycle, word, ref, res, mismatch) in enumerate(body):
    assert int(cycle) == i // len(words) + 1 and word == words[i % len(words)], (i, cycle, word)
    assert mismatch == ("1" if ref != "Неопределено" and ref != res else "0"), body[i]

# The levels: each pin's expected level from the test, the measured one from the report.
pins = [p for p in dump["pins"] if p["typeText"] not in ("NC", "GND", "VCC")]
assert pins[2]["name"] == 'D,"0"'
assert len(level_rows) == cycles
measured = {"1": "0", "2": "1", "3": "x", "4": "x", "5": "z"}
for c, row in enumerate(level_rows, start=1):
    assert int(row["Такт"]) == c
    disagree = []
    for p in pins:
        label = f"{p['pin']}_{p['name']}"
        expected = dump["reference"][str(p["pin"])][c - 1]
        code = codes[p["pin"]][c - 1]
        assert row[label + " Эталон"] == expected, (c, label)
        assert row[label + " Результат"] == measured[code], (c, label)
        if expected in "01" and code != {"0": "1", "1": "2"}[expected]:
            disagree.append(str(p["pin"]))
    assert row["Ошибка"] == ("1" if c in errors else "0"), c
    assert row["Несовпадения"] == " ".join(disagree), (c, row["Несовпадения"])
print(f"{len(body)} table rows and {len(level_rows)} cycles agree; error cycles {sorted(errors)}")
