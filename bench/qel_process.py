#!/usr/bin/env python3
"""Whole-process figures of qel on large tests, beside `cat FILE > /dev/null` in the same run.

For each test file: the median wall time of `cat` (reading the file) and of each qel command, and
the peak resident memory (max RSS) of each, against the goal of at most three times the test's
information (two bits a level, reference and result) plus 30 MiB.

    bench/qel_process.py [--qel PATH]... [--runs N] [--dir DIR] [--only NAME]...

Give --qel more than once to measure several builds side by side (e.g. before and after a change).
The test files are written once into DIR (default: the system's temporary folder).
"""
import argparse
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def test_lines(package, types, cycles, signals, algorithm=None):
    """signals: (key, name, symbols); algorithm: the lines of its section."""
    lines = ["Тип корпуса=" + package]
    lines += ["%d=%s" % (i + 1, t) for i, t in enumerate(types)]
    lines += ["Число Тестов=1", 'Тест1==Большой тест"', "Слов Данных=0"]
    lines.append("Число Тактов=%d" % cycles)
    lines.append("Число сигналов управления=%d" % len(signals))
    for key, name, symbols in signals:
        lines.append("%s=%s" % (key, name))
        lines.append(symbols)
    lines += algorithm or []
    lines += ["Конец Файла", "Дополнительные парметры:( uhul, gen)", "26409", "2"]
    return lines


def write_test(path, lines):
    with open(path, "wb") as f:
        for line in lines:
            f.write(line.encode("cp866"))
            f.write(b"\r\n")


def random_symbols(rng, cycles, alphabet=b"_-*"):
    table = bytes(alphabet[i % len(alphabet)] for i in range(256))
    return rng.randbytes(cycles).translate(table).decode()


def forty_signals(path, cycles, repeat):
    """40 pins, 20 inputs and 20 outputs, random levels; repeated `repeat` times by the Cyclic
    algorithm when above 1."""
    rng = random.Random(7)
    types = ["I"] * 20 + ["O"] * 20
    signals = [("i%d" % p if p <= 20 else "o%d" % p, "P%d" % p, random_symbols(rng, cycles)) for p in range(1, 41)]
    algorithm = None
    if repeat > 1:
        algorithm = ["АлгоритмТестирования=1", "Всего=%d" % repeat, "Начало=1", "Конец=%d" % cycles]
    write_test(path, test_lines("DIP40", types, cycles, signals, algorithm))
    return 40, cycles * repeat


def nand_7400(path, cycles):
    """Quad NAND in DIP14: random inputs, the outputs they give."""
    rng = random.Random(3)
    inputs = {p: random_symbols(rng, cycles, b"_-") for p in (1, 2, 4, 5, 9, 10, 12, 13)}
    gates = [(1, 2, 3), (4, 5, 6), (9, 10, 8), (12, 13, 11)]
    types = ["I", "I", "O", "I", "I", "O", "GND", "O", "I", "I", "O", "I", "I", "VCC"]
    nand = bytes.maketrans(b"01", b"-_")  # both high gives low
    signals = []
    for a, b, y in gates:
        both = (int(inputs[a].translate(str.maketrans("_-", "01")), 2) & int(inputs[b].translate(str.maketrans("_-", "01")), 2))
        out = format(both, "0%db" % cycles).encode().translate(nand).decode()
        signals.append(("i%d" % a, "A", inputs[a]))
        signals.append(("i%d" % b, "B", inputs[b]))
        signals.append(("o%d" % y, "Y", out))
    write_test(path, test_lines("DIP14", types, cycles, signals))
    return 12, cycles


def run(command):
    """Wall seconds, max RSS in KiB and exit status of one command, its output discarded. The
    peak memory comes from /usr/bin/time: a child of this script would start its count from the
    script's own peak, which the test files have raised."""
    with tempfile.NamedTemporaryFile("r") as report:
        with open(os.devnull, "wb") as null:
            start = time.perf_counter()
            proc = subprocess.run(["/usr/bin/time", "-q", "-f", "%M %x", "-o", report.name] + command,
                                  stdout=null, stderr=null)
            wall = time.perf_counter() - start
        rss, status = report.read().split()[-2:]
    return wall, int(rss), int(status)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--qel", action="append", help="qel binary (repeatable); default build/src/cli/qel")
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--dir", default=tempfile.gettempdir())
    parser.add_argument("--only", action="append", help="test names to run")
    args = parser.parse_args()
    binaries = args.qel or [os.path.join(HERE, "..", "build", "src", "cli", "qel")]

    tests = {
        "40x1M": lambda p: forty_signals(p, 1_000_000, 1),
        "40x4M": lambda p: forty_signals(p, 1_000_000, 4),
        "40x16M": lambda p: forty_signals(p, 1_000_000, 16),
        "7400x1M": lambda p: nand_7400(p, 1_000_000),
    }
    commands = {
        "check": lambda q, f: [q, "check", f],
        "dump": lambda q, f: [q, "dump", f],
        "run": lambda q, f: [q, "run", f, "--tester", "virtual", "--chip", "7400"],
        "vcd": lambda q, f: [q, "export", f, "--vcd", f + ".vcd"],
    }
    plan = {"40x1M": ["check", "dump", "vcd"], "40x4M": ["check"], "40x16M": ["check"], "7400x1M": ["check", "run"]}

    print("%-8s %-8s %-28s %9s %7s %9s %9s" % ("test", "command", "binary", "wall s", "x cat", "RSS MiB", "goal MiB"))
    for name, make in tests.items():
        if args.only and name not in args.only:
            continue
        path = os.path.join(args.dir, "qel-process-%s.qel" % name)
        pins, cycles = make(path + ".part")
        os.replace(path + ".part", path)
        information = pins * cycles * 4 / 8 / 2**20
        goal = 3 * information + 30
        cat = []
        results = {}
        for _ in range(args.runs):
            # Interleaved, so a change of the machine's load touches every command alike.
            cat.append(run(["cat", path])[0])
            for q in binaries:
                for c in plan[name]:
                    results.setdefault((q, c), []).append(run(commands[c](q, path)))
        cat_wall = statistics.median(cat)
        print("%-8s %-8s %-28s %9.3f %7s %9s %9s" % (name, "cat", "", cat_wall, "1.0", "", ""))
        for (q, c), rs in results.items():
            wall = statistics.median(r[0] for r in rs)
            rss = max(r[1] for r in rs) / 1024
            codes = sorted({r[2] for r in rs})
            label = q if len(q) <= 28 else "..." + q[-25:]
            print("%-8s %-8s %-28s %9.3f %7.1f %9.1f %9.1f%s" % (
                name, c, label, wall, wall / cat_wall, rss, goal, "" if codes == [0] else "  exit %s" % codes))
        sys.stdout.flush()
    print("information: two bits a level, reference and result, for the test's signals; "
          "goal: 3 x information + 30 MiB")


if __name__ == "__main__":
    main()
