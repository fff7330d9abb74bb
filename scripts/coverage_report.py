#!/usr/bin/env python3
"""Writes examples/coverage.md: the fault coverage of every example test as `qel coverage` grades it,
the faults each misses and why, and what `qel check --lint` proves each cannot find.

    python3 scripts/coverage_report.py [QEL]     (default: build/src/cli/qel)
"""
import importlib.util
import json
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, ".."))
EXAMPLES = os.path.join(ROOT, "examples")

# Each example with the chip it tests and any option of its expansion.
TESTS = [
    ("nand7400.qel", "7400", []),
    ("nand7400_soic.qel", "7400", []),
    ("dff7474.qel", "7474", []),
    ("transceiver245.qel", "74245", []),
    ("counter161_radix2.qel", "74161", []),
    ("counter161_radix8.qel", "74161", []),
    ("counter161_radix10.qel", "74161", []),
    ("counter161_radix16.qel", "74161", []),
    ("counter_cyclic.qel", "74161", []),
    ("eprom2716_rom.qel", "2716", []),
    ("sram6116_ram.qel", "6116", []),
    ("sram6116_ram.qel", "6116", ["--full-ram"]),
    ("sram6116_march.qel", "6116", []),
]


def grade(qel, path, chip, options):
    run = subprocess.run([qel, "coverage", path, "--chip", chip, "--report", "-"] + options,
                         capture_output=True, text=True)
    if run.returncode not in (0, 1):
        sys.exit("qel coverage %s failed (%d): %s" % (path, run.returncode, run.stderr))
    return json.loads(run.stdout)


def lint(qel, path):
    run = subprocess.run([qel, "check", "--lint", path], capture_output=True, text=True)
    prefix = path + ": "
    return [line[len(prefix):] for line in run.stdout.splitlines() if line.startswith(prefix)]


def share(found, total):
    return "%d / %d (%d %%)" % (found, total, found * 100 // total if total else 100)


def name_of(test, options):
    return test + (" " + " ".join(options) if options else "")


def before_and_after(qel, lines):
    """The transceiver's test as its generator first made it, graded beside the one it makes now."""
    spec = importlib.util.spec_from_file_location("make_examples", os.path.join(HERE, "make_examples.py"))
    make = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(make)
    with tempfile.TemporaryDirectory() as folder:
        make.OUT = folder
        make.write("transceiver245_before.qel", make.transceiver(make.TRANSCEIVER_BYTES_BEFORE))
        before = grade(qel, os.path.join(folder, "transceiver245_before.qel"), "74245", [])
    after = grade(qel, os.path.join(EXAMPLES, "transceiver245.qel"), "74245", [])
    lines += ["## Before and after: transceiver245.qel", "",
              "The first version of the transceiver's test sent 0x0F and 0xF0 from B to A, where A5..A8 are",
              "not driven, so the neighbouring pins A4/A5 (5, 6) and B5/B4 (14, 15) never carried different",
              "levels and a bridge between them could not show. `scripts/make_examples.py` now sends those",
              "bytes from A to B (`TRANSCEIVER_BYTES`; the first order is kept as `TRANSCEIVER_BYTES_BEFORE`).", "",
              "| Class | Before | After |", "| --- | --- | --- |"]
    for b, a in zip(before["classes"], after["classes"]):
        lines.append("| %s | %s | %s |" % (a["class"], share(b["detected"], b["faults"]), share(a["detected"], a["faults"])))
    lines.append("| всего | %s | %s |" % (share(before["detectedCount"], before["faultCount"]),
                                          share(after["detectedCount"], after["faultCount"])))
    missed = lambda r: {f["fault"] for f in r["faults"] if not f["detected"]}
    lines += ["", "Found now and missed before: " + ", ".join("`%s`" % f for f in sorted(missed(before) - missed(after))) + ".",
              "", "What the test still misses needs other pin types, not other vectors: B5..B8 are formula",
              "outputs in this test (the example shows the \"F\" type), so the B-to-A direction of bits 5..8",
              "is never driven (`in0`/`in1` on 11..14, `out0`/`out1` on 6..9); and /OE is never high, which no",
              "level comparison could use anyway: the outputs it lets go read undefined, and a driver that",
              "does not let go is overdriven by the tester.", ""]


def main():
    qel = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "src", "cli", "qel")
    results = []
    for test, chip, options in TESTS:
        path = os.path.join(EXAMPLES, test)
        results.append((test, chip, options, grade(qel, path, chip, options), lint(qel, path)))

    lines = ["# Fault coverage of the example tests", "",
             "Made by `python3 scripts/coverage_report.py` from `qel coverage` and `qel check --lint`; do not edit.", "",
             "`qel coverage TEST --chip PART` runs the test on the virtual tester's model of the chip once with",
             "the good chip and once per fault inside it, and records whether the comparison finds the fault",
             "and in which cycle first. The faults are those the vectors decide on: each input stuck low and",
             "high as the chip's logic sees it (`in0`, `in1`), each output stuck (`out0`, `out1`), two",
             "neighbouring pins bridged inside (`bridge`, wired-AND), and for the memories the address, data",
             "and cell faults. A pin held by the board or without contact is found by the contact test and",
             "the read-back whatever the vectors are, so it does not grade a test.", "",
             "`qel check --lint` needs no chip model; each of its findings is a proof that the test cannot",
             "see something (\"не доказано\": no pair of vectors shows the input's effect, which for a",
             "sequential chip or gates tested side by side is often so even where the faults are found).", "",
             "| Test | Chip | Cycles | Faults | Found | Lint findings |", "| --- | --- | --- | --- | --- | --- |"]
    for test, chip, options, r, findings in results:
        lines.append("| `%s` | %s | %d | %d | %s | %d |" % (name_of(test, options), chip, r["cycles"], r["faultCount"],
                                                           share(r["detectedCount"], r["faultCount"]), len(findings)))
    lines.append("")
    before_and_after(qel, lines)
    for test, chip, options, r, findings in results:
        lines += ["## %s" % name_of(test, options), "", "| Class | Found |", "| --- | --- |"]
        lines += ["| %s | %s |" % (c["class"], share(c["detected"], c["faults"])) for c in r["classes"]]
        missed = [f for f in r["faults"] if not f["detected"]]
        lines.append("")
        if missed:
            lines += ["Missed:", ""] + ["- `%s`: %s" % (f["fault"], f.get("hint", "")) for f in missed]
        else:
            lines.append("Every fault is found.")
        if findings and not options:
            lines += ["", "Lint:", ""] + ["- " + f for f in findings]
        lines.append("")
    with open(os.path.join(EXAMPLES, "coverage.md"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
