#!/usr/bin/env python3
"""Writes the example test files of examples/ (cp866, CR LF), so they can be regenerated and reviewed."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "examples")


def sym(levels):
    return "".join({0: "_", 1: "-", None: "*"}[v] for v in levels)


def test_file(package, types, name, words, radix, cycles, signals, trailer=True, algorithm=None, extra=None):
    """signals: list of (key, name, symbols-or-formula)."""
    lines = ["Тип корпуса=" + package]
    lines += ["%d=%s" % (i + 1, t) for i, t in enumerate(types)]
    lines.append("Число Тестов=1")
    lines.append('Тест1==%s"' % name)
    lines.append("Слов Данных=%d" % len(words))
    if words:
        lines.append("СистемаСчисления=%d" % radix)
        for wname, pins, kind in words:
            lines.append("%s=%d|%d" % (wname, len(pins), kind))
            lines += [str(p) for p in pins]
    lines.append("Число Тактов=%d" % cycles)
    lines.append("Число сигналов управления=%d" % len(signals))
    for key, pname, body in signals:
        lines.append("%s=%s" % (key, pname))
        lines.append(body)
    if algorithm is not None:
        lines += algorithm
    lines.append("Конец Файла")
    if trailer:
        lines.append("Дополнительные парметры:( uhul, gen)")
        lines.append("26409")
        lines.append("2")
    if extra:
        lines += extra
    return lines


def write(name, lines, final_break=True):
    data = "\r\n".join(lines) + ("\r\n" if final_break else "")
    path = os.path.join(OUT, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data.encode("cp866"))


def nand(package="DIP14"):
    # Quad 2-input NAND: every gate sees 00, 01, 10, 11 and back.
    a = [0, 0, 1, 1, 0, 1]
    b = [0, 1, 0, 1, 1, 1]
    y = [1 - (x & z) for x, z in zip(a, b)]
    types = ["I", "I", "O", "I", "I", "O", "GND", "O", "I", "I", "O", "I", "I", "VCC"]
    gates = [(1, 2, 3), (4, 5, 6), (9, 10, 8), (12, 13, 11)]
    sig = []
    for g, (pa, pb, py) in enumerate(gates, 1):
        sig.append(("i%d" % pa, "%dA" % g, sym(a)))
        sig.append(("i%d" % pb, "%dB" % g, sym(b)))
        sig.append(("o%d" % py, "%dY" % g, sym(y)))
    return test_file(package, types, "К155ЛА3 (7400) 4 элемента 2И-НЕ", [], 10, len(a), sig)


def dff():
    # Dual D flip-flop with preset and clear, active low; Q follows D on the rising clock edge.
    #            clr pre clk d  -> q
    steps = [(0, 1, 0, 0), (1, 1, 0, 1), (1, 1, 1, 1), (1, 1, 0, 0), (1, 1, 1, 0), (1, 0, 0, 0),
             (1, 1, 0, 1), (1, 1, 1, 1), (0, 1, 1, 1), (1, 1, 0, 0)]
    q, qs = None, []
    prev_clk = 0
    for clr, pre, clk, d in steps:
        if clr == 0:
            q = 0
        elif pre == 0:
            q = 1
        elif clk == 1 and prev_clk == 0:
            q = d
        prev_clk = clk
        qs.append(q)
    clr = [s[0] for s in steps]
    pre = [s[1] for s in steps]
    clk = [s[2] for s in steps]
    d = [s[3] for s in steps]
    nq = [None if v is None else 1 - v for v in qs]
    types = ["I", "I", "I", "I", "O", "O", "GND", "O", "O", "I", "I", "I", "I", "VCC"]
    sig = [("i1", "1CLR", sym(clr)), ("i2", "1D", sym(d)), ("i3", "1CLK", sym(clk)), ("i4", "1PRE", sym(pre)),
           ("o5", "1Q", sym(qs)), ("o6", "1/Q", sym(nq)),
           ("i13", "2CLR", sym(clr)), ("i12", "2D", sym(d)), ("i11", "2CLK", sym(clk)), ("i10", "2PRE", sym(pre)),
           ("o9", "2Q", sym(qs)), ("o8", "2/Q", sym(nq))]
    return test_file("DIP14", types, "К155ТМ2 (7474) 2 D-триггера", [], 10, len(steps), sig)


# The bytes the transceiver passes, the first four from A to B, the others back. Sending 0x0F and
# 0xF0 from A to B puts different levels on A4 and A5, and on B4 and B5, neighbours on the package,
# so a bridge between them shows; the first version of the test (TRANSCEIVER_BYTES_BEFORE) sent
# them from B to A, where A5..A8 are not driven (examples/coverage.md).
TRANSCEIVER_BYTES = [0x5A, 0xA5, 0x0F, 0xF0, 0x00, 0xFF, 0x3C, 0xC3]
TRANSCEIVER_BYTES_BEFORE = [0x00, 0xFF, 0x5A, 0xA5, 0x3C, 0xC3, 0x0F, 0xF0]


def transceiver(values=TRANSCEIVER_BYTES):
    # Bus transceiver: A1..A4 and B1..B4 are bidirectional; B5..B8 are outputs whose level is the
    # formula of the A input they follow (and of DIR). DIR high sends A to B, low sends B to A;
    # /OE low enables.
    n = 8
    dirs = [1, 1, 1, 1, 0, 0, 0, 0]
    a_vals = [[(c >> k) & 1 for k in range(8)] for c in values]
    types = ["I"] + ["I/O"] * 4 + ["I"] * 4 + ["GND"] + ["O"] * 4 + ["I/O"] * 4 + ["I", "VCC"]
    # pins: 1 DIR, 2..9 A1..A8, 10 GND, 11..18 B8..B1, 19 /OE, 20 VCC
    sig = [("i1", "DIR", sym(dirs)), ("i19", "/OE", sym([0] * n))]
    for k in range(4):  # A1..A4 <-> B1..B4 (B1 is pin 18)
        apin, bpin = 2 + k, 18 - k
        drive_a = [a_vals[c][k] if dirs[c] else None for c in range(n)]
        read_a = [None if dirs[c] else a_vals[c][k] for c in range(n)]
        drive_b = [None if dirs[c] else a_vals[c][k] for c in range(n)]
        read_b = [a_vals[c][k] if dirs[c] else None for c in range(n)]
        sig.append(("i%d" % apin, "A%d" % (k + 1), sym(drive_a)))
        sig.append(("o%d" % apin, "A%d" % (k + 1), sym(read_a)))
        sig.append(("i%d" % bpin, "B%d" % (k + 1), sym(drive_b)))
        sig.append(("o%d" % bpin, "B%d" % (k + 1), sym(read_b)))
    for k in range(4, 8):  # A5..A8 inputs, B5..B8 (pins 14..11) formula outputs
        # A5..A8 are driven only while DIR sends A to B; otherwise the formula has nothing to
        # decide on and B5..B8, left floating by the chip, are not compared.
        apin, bpin = 2 + k, 18 - k
        sig.append(("i%d" % apin, "A%d" % (k + 1), sym([a_vals[c][k] if dirs[c] else None for c in range(n)])))
        sig.append(("o%d" % bpin, "B%d" % (k + 1), "F=C%d&C1" % apin))
    words = [("A", [2, 3, 4, 5], 2), ("B", [18, 17, 16, 15], 2)]
    return test_file("DIP20", types, "КР1533АП6 (74ALS245) шинный формирователь", words, 16, n, sig)


def counter(radix):
    # Synchronous 4-bit counter with parallel load: /LOAD low loads D, otherwise counts on CLK.
    # pins: 1 /CLR, 2 CLK, 3..6 D0..D3, 7 ENP, 8 GND, 9 /LOAD, 10 ENT, 11..14 Q3..Q0, 15 RCO, 16 VCC
    types = ["I", "I", "I", "I", "I", "I", "I", "GND", "I", "I", "O", "O", "O", "O", "O", "VCC"]
    clk, clr, load, dv, qv, rco = [], [], [], [], [], []
    q = None
    program = [("clr", 0), ("load", 9)] + [("count", 0)] * 8
    for op, val in program:
        for phase in (0, 1):
            clr.append(0 if op == "clr" else 1)
            load.append(0 if op == "load" else 1)
            dv.append(val if op == "load" else 0)
            clk.append(phase)
            if phase == 1:
                if op == "clr":
                    q = 0
                elif op == "load":
                    q = val
                else:
                    q = (q + 1) & 15
            qv.append(q)
            rco.append(None if q is None else int(q == 15))
    n = len(clk)
    bit = lambda vals, k: [None if v is None else (v >> k) & 1 for v in vals]
    sig = [("i1", "/CLR", sym(clr)), ("i2", "CLK", sym(clk))]
    sig += [("i%d" % (3 + k), "D%d" % k, sym(bit(dv, k))) for k in range(4)]
    sig += [("i7", "ENP", sym([1] * n)), ("i9", "/LOAD", sym(load)), ("i10", "ENT", sym([1] * n))]
    sig += [("o%d" % (14 - k), "Q%d" % k, sym(bit(qv, k))) for k in range(4)]
    sig.append(("o15", "RCO", sym(rco)))
    words = [("D", [3, 4, 5, 6], 0), ("Q", [14, 13, 12, 11], 1)]
    return test_file("DIP16", types, "К555ИЕ10 (74LS161) счетчик, основание %d" % radix, words, radix, n, sig)


def broken():
    good = nand()
    out = {}
    out["bad_package_case.qel"] = ["Тип корпуса=dip14"] + good[1:]
    out["bad_package_unknown.qel"] = ["Тип корпуса=DIP12"] + good[1:]
    out["bad_too_many_lines.qel"] = good + ["; пустая строка"] * (999 - len(good))
    def replace(lines, prefix, value):
        return [(prefix + value) if l.startswith(prefix) else l for l in lines]
    c = counter(16)
    out["bad_word_count.qel"] = replace(c, "Слов Данных=", "два")                    # LoadWordName
    out["bad_radix.qel"] = replace(c, "СистемаСчисления=", "шестнадцать")            # LoadWordSys
    out["bad_word_pin_count.qel"] = replace(c, "D=", "4a|0")                          # LoadWordColCont
    cc = list(c)
    cc[cc.index("D=4|0") + 2] = "четыре"
    out["bad_word_pin.qel"] = cc                                                      # LoadWordCont
    out["bad_cycle_count.qel"] = replace(good, "Число Тактов=", "шесть")             # LoadS
    out["bad_signal_count.qel"] = replace(good, "Число сигналов управления=", "")    # LoadKolLeg
    out["bad_signal_pin.qel"] = [("iX=1A" if l == "i1=1A" else l) for l in good]     # LoadCont
    g = list(good)
    g[g.index("Конец Файла")] = "АлгоритмТестирования=один"
    out["bad_algorithm.qel"] = g + ["Конец Файла"]                                    # LoadAlgot
    g = list(good)
    g[g.index("Конец Файла"):g.index("Конец Файла") + 1] = ["АлгоритмТестирования=1", "Всего циклов=три",
                                                           "Начальный Такт=1", "Конечный Такт=6", "Конец Файла"]
    out["bad_algorithm_parameter.qel"] = g                                            # LoadAlgData
    g = list(c)
    g[g.index("Конец Файла"):g.index("Конец Файла") + 1] = [
        "АлгоритмТестирования=3", "Начальный Адрес=", "Конечный Адрес=F", "Такт чтения=1", "Такт записи=1",
        "Слово адреса чтения=1", "Слово адреса записи=1", "Такт адреса чтения=1", "Тактов адреса чтения=1",
        "Такт адреса записи=1", "Тактов адреса записи=1", "Слово данных чтения=2", "Слово данных записи=2",
        "Такт данных чтения=2", "Такт данных записи=2", "Тактов данных чтения=1", "Тактов данных записи=1",
        "Конец Файла"]
    out["bad_address.qel"] = [("СистемаСчисления=10" if l.startswith("СистемаСчисления=") else l) for l in g]  # LoadA
    out["bad_levels.qel"] = good[:-2] + ["2,01В", "2"]                                # LoadParam
    w = list(c)
    w[w.index("Слов Данных=2")] = "Слов Данных=11"
    out["bad_too_many_words.qel"] = w                                                 # beyond the tables
    s = list(good)
    s[s.index("i1=1A")] = "i51=1A"
    out["bad_signal_beyond_table.qel"] = s
    return out


def main():
    write("nand7400.qel", nand())
    write("nand7400_soic.qel", nand("SOIC14"))
    write("dff7474.qel", dff())
    write("transceiver245.qel", transceiver())
    for r in (2, 8, 10, 16):
        write("counter161_radix%d.qel" % r, counter(r))
    for name, lines in broken().items():
        write(os.path.join("broken", name), lines)
    return 0


if __name__ == "__main__":
    sys.exit(main())
