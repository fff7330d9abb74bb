"""Measures which memory faults each memory test finds, on the virtual tester, and writes the table
into examples/memory-tests.md between its fault-table markers.

    python3 scripts/memory_fault_table.py [--qel build/src/cli/qel] [--check]

Every fault is injected into the virtual 6116 (or 2716) with --fault and the example test is run
with `qel run`: exit status 1 is a fault found, 0 a fault missed. --check compares the measured
table with the one in the file instead of writing it, and fails when they differ.
"""
import argparse, os, subprocess, sys, tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
EXAMPLES = os.path.join(ROOT, "examples")
DOC = os.path.join(EXAMPLES, "memory-tests.md")
BEGIN, END = "<!-- fault-table:begin -->", "<!-- fault-table:end -->"

RAM_FAULTS = [
    ("", "good chip"),
    ("addr0:7", "address line A7 stuck low"),
    ("addr1:3", "address line A3 stuck high"),
    ("addrshort:3,4", "address lines A3 and A4 shorted"),
    ("datashort:2,3", "data lines D2 and D3 shorted (neighbours)"),
    ("datashort:1,3", "data lines D1 and D3 shorted (not neighbours)"),
    ("cell:0x1A3=0xEF", "cell 1A3h stuck at EFh (bit 4 stuck low)"),
    ("transition:0x1A3,4", "cell 1A3h bit 4 cannot rise"),
    ("transition:0x1A3,4,down", "cell 1A3h bit 4 cannot fall"),
    ("coupling:0x0F2,0x1A3,4", "writes to 0F2h invert bit 4 of 1A3h (aggressor below)"),
    ("coupling:0x1A3,0x0F2,4", "writes to 1A3h invert bit 4 of 0F2h (aggressor above)"),
]
ROM_FAULTS = [
    ("", "good chip"),
    ("addr0:7", "address line A7 stuck low"),
    ("addrshort:3,4", "address lines A3 and A4 shorted"),
    ("datashort:2,3", "data lines D2 and D3 shorted"),
    ("rombyte:0x1A3=0x00", "byte 1A3h programmed 00h"),
]


def run(qel, test, chip, fault, extra=()):
    args = [qel, "run", test, "--tester", "virtual", "--chip", chip] + list(extra)
    if fault:
        args += ["--fault", fault]
    p = subprocess.run(args, capture_output=True, text=True)
    if p.returncode not in (0, 1):
        sys.exit("qel run failed (%d) for %s %s:\n%s%s" % (p.returncode, test, fault, p.stdout, p.stderr))
    prefix = "Диагностика памяти: "
    found = [l[len(prefix):] for l in p.stdout.splitlines() if l.startswith(prefix)]
    return p.returncode == 1, "; ".join(found)


def verdict(fault, found):
    if not fault:
        return "FAILS" if found else "passes"
    return "found" if found else "missed"


def measure(qel, tmp):
    march = os.path.join(EXAMPLES, "sram6116_march.qel")
    solid = os.path.join(tmp, "sram6116_march_solid.qel")
    data = open(march, "rb").read()
    line = "Фон Данных=1".encode("cp866")
    assert line in data, "the March example has no checkerboard line"
    open(solid, "wb").write(data.replace(line, "Фон Данных=0".encode("cp866")))
    ram = os.path.join(EXAMPLES, "sram6116_ram.qel")
    algorithms = [("RAM, compressed", ram, []), ("RAM, full", ram, ["--full-ram"]),
                  ("March C-, solid", solid, []), ("March C-, checkerboard", march, [])]
    rows = []
    for fault, what in RAM_FAULTS:
        cells, said = [], ""
        for _, test, extra in algorithms:
            found, diagnosis = run(qel, test, "6116", fault, extra)
            cells.append(verdict(fault, found))
            said = diagnosis or said  # the last test that finds it: March C-, checkerboard, where it does
        rows.append((what, fault, cells, said))
    rom_rows = []
    rom = os.path.join(EXAMPLES, "eprom2716_rom.qel")
    for fault, what in ROM_FAULTS:
        found, said = run(qel, rom, "2716", fault, ["--rom", os.path.join(EXAMPLES, "eprom2716.dat")])
        rom_rows.append((what, fault, [verdict(fault, found)], said))
    return [a[0] for a in algorithms], rows, rom_rows


def table(columns, rows):
    out = ["| Fault (`--fault`) | " + " | ".join(columns) + " | Diagnosis |",
           "| --- | " + " | ".join("---" for _ in columns) + " | --- |"]
    for what, fault, cells, said in rows:
        name = what + (" (`%s`)" % fault if fault else "")
        out.append("| %s | %s | %s |" % (name, " | ".join(cells), said))
    return out


def render(columns, rows, rom_rows):
    lines = [BEGIN, "", "6116 static RAM (`sram6116_ram.qel`, `sram6116_march.qel`); the diagnosis is that of the",
             "last test that finds the fault:", ""]
    lines += table(columns, rows)
    lines += ["", "2716 EPROM (`eprom2716_rom.qel` against `eprom2716.dat`):", ""]
    lines += table(["ROM read-out"], rom_rows)
    lines += ["", END]
    return "\n".join(lines)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--qel", default=os.path.join(ROOT, "build", "src", "cli", "qel"))
    ap.add_argument("--check", action="store_true")
    a = ap.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        block = render(*measure(a.qel, tmp))
    doc = open(DOC, encoding="utf-8").read()
    if BEGIN not in doc or END not in doc:
        sys.exit("%s has no fault-table markers" % DOC)
    new = doc[:doc.index(BEGIN)] + block + doc[doc.index(END) + len(END):]
    if a.check:
        if new != doc:
            sys.exit("the fault table in %s is not what the virtual tester measures; run %s" % (DOC, sys.argv[0]))
        print("fault table up to date")
        return
    open(DOC, "w", encoding="utf-8").write(new)
    print("fault table written to %s" % DOC)


if __name__ == "__main__":
    main()
