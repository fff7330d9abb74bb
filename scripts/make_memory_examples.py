"""Writes the memory-test examples of this folder (cp866, CR LF) and the EPROM's data file."""
import os, sys
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")

def write_test(name, lines):
    data = ("\r\n".join(lines) + "\r\n").encode("cp866")
    open(os.path.join(out, name), "wb").write(data)

def header(pins, types):
    return ["Тип корпуса=DIP%d" % pins] + ["%d=%s" % (p, types[p]) for p in range(1, pins + 1)] + ["Число Тестов=1"]

def words(radix, ws):
    lines = ["Слов Данных=%d" % len(ws), "СистемаСчисления=%d" % radix]
    for name, kind, pins in ws:
        lines.append("%s=%d|%d" % (name, len(pins), kind))
        lines += [str(p) for p in pins]
    return lines

def signals(cycles, sigs):
    lines = ["Число Тактов=%d" % cycles, "Число сигналов управления=%d" % len(sigs)]
    for key, name, sym in sigs:
        assert len(sym) == cycles, (name, len(sym))
        lines += ["%s=%s" % (key, name), sym]
    return lines

trailer = ["Конец Файла", "Дополнительные парметры:( uhul, gen)", "26409", "2"]

# 2716 / 6116 common pinout: address and data pins
A = {0: 8, 1: 7, 2: 6, 3: 5, 4: 4, 5: 3, 6: 2, 7: 1, 8: 23, 9: 22, 10: 19}
D = [9, 10, 11, 13, 14, 15, 16, 17]
addr_pins = [A[i] for i in range(11)]

# --- 2716 EPROM read-out ---
t = {p: "I" for p in range(1, 25)}
for p in D: t[p] = "O"
t[12] = "GND"; t[21] = "VCC"; t[24] = "VCC"  # Vpp tied to Vcc for reading
sigs = [("i%d" % A[i], "A%d" % i, "****") for i in range(11)]
sigs += [("o%d" % p, "O%d" % k, "****") for k, p in enumerate(D)]
# /CE goes high after every read, so each read is the chip's first after standby.
sigs += [("i18", "/CE", "___-"), ("i20", "/OE", "-__-")]
sigs.sort(key=lambda s: int(s[0][1:]))
lines = header(24, t) + ["Тест1==ПЗУ 2716 (2K x 8): чтение и сравнение с файлом данных\""]
lines += words(16, [("Адрес", 0, addr_pins), ("Данные", 1, D)])
lines += signals(4, sigs)
lines += ["АлгоритмТестирования=2", "Параметр=0", "Слово Адреса=1", "Такт Адреса=1", "Тактов Адреса=3",
          "Начальный Адрес=0", "Конечный Адрес=7FF", "Слово Данных=2", "Такт Данных=3",
          "Файл Данных=eprom2716.dat"] + trailer
write_test("eprom2716_rom.qel", lines)

# Its contents: a short 8080 start-up routine, a sign-on text, a checksum table, the rest erased.
rom = bytearray(b"\xff" * 2048)
boot = bytes([0xF3, 0x31, 0x00, 0x08, 0x21, 0x40, 0x00, 0x0E, 0x10, 0x7E, 0xD3, 0x01, 0x23, 0x0D, 0xC2, 0x09,
              0x00, 0xC3, 0x00, 0x01, 0x00, 0x00])
rom[0:len(boot)] = boot
text = b"QEL TEST ROM 2716 V1.2 (C) 1989\r\n\x00"
rom[0x40:0x40 + len(text)] = text
for i in range(256):
    rom[0x100 + i] = (i * 37 + 11) & 0xFF
rom[0x7FE] = sum(rom[:0x7FE]) & 0xFF
rom[0x7FF] = 0x55
open(os.path.join(out, "eprom2716.dat"), "wb").write(rom)

# --- 6116 static RAM ---
t = {p: "I" for p in range(1, 25)}
for p in D: t[p] = "I/O"
t[12] = "GND"; t[24] = "VCC"
sigs = [("i%d" % A[i], "A%d" % i, "****") for i in range(11)]
sigs += [("i%d" % p, "I/O%d" % (k + 1), "****") for k, p in enumerate(D)]
sigs += [("i18", "/CS", "____"), ("i20", "/OE", "--__"), ("i21", "/WE", "_---")]
sigs.sort(key=lambda s: int(s[0][1:]))
lines = header(24, t) + ["Тест1==ОЗУ 6116 (2K x 8): шины данных и адреса, ячейки\""]
lines += words(16, [("Адрес", 0, addr_pins), ("Данные", 2, D)])
lines += signals(4, sigs)
# The 16 lines of a RAM block; the March C- block has the same, then its background.
ram_block = ["Начальный Адрес=0", "Конечный Адрес=7FF", "Начальный Такт Чтения=3", "Начальный Такт Записи=1",
             "Слово Адреса Чтения=1", "Слово Адреса Записи=1", "Такт Адреса Чтения=3", "Тактов Адреса Чтения=2",
             "Такт Адреса Записи=1", "Тактов Адреса Записи=2", "Слово Данных Чтения=2", "Слово Данных Записи=2",
             "Такт Данных Чтения=4", "Такт Данных Записи=1", "Тактов Данных Чтения=1", "Тактов Данных Записи=2"]
lines += ["АлгоритмТестирования=3"] + ram_block + trailer
write_test("sram6116_ram.qel", lines)

# --- 6116 March C-: the same template, every cell and every address line, checkerboard background ---
lines = header(24, t) + ["Тест1==ОЗУ 6116 (2K x 8): March C-, шахматный фон\""]
lines += words(16, [("Адрес", 0, addr_pins), ("Данные", 2, D)])
lines += signals(4, sigs)
# The block sits after the trailer, under its header, where a reader that knows only algorithms 0..3
# never looks: it keeps the trailer and runs the four template cycles.
lines += ["АлгоритмТестирования=4"] + trailer[1:] + ["Параметры алгоритма March C-:"] + ram_block
lines += ["Фон Данных=1", "Конец Файла"]
write_test("sram6116_march.qel", lines)

# --- 74161 synchronous 4-bit counter, the count loop repeated ---
t = {p: "I" for p in range(1, 17)}
for p in (11, 12, 13, 14, 15): t[p] = "O"
t[8] = "GND"; t[16] = "VCC"
n = 34
q = [0, 0]
for k in range(1, 17):
    q += [k % 16, k % 16]
clk = "__" + "-_" * 16
clr = "_" + "-" * (n - 1)
def bit(b): return "".join("-" if (v >> b) & 1 else "_" for v in q)
rco = "".join("-" if v == 15 else "_" for v in q)
sigs = [("i1", "/CLR", clr), ("i2", "CLK", clk)]
sigs += [("i%d" % p, nm, "_" * n) for p, nm in ((3, "A"), (4, "B"), (5, "C"), (6, "D"))]
sigs += [("i7", "ENP", "-" * n), ("i9", "/LOAD", "-" * n), ("i10", "ENT", "-" * n)]
sigs += [("o11", "QD", bit(3)), ("o12", "QC", bit(2)), ("o13", "QB", bit(1)), ("o14", "QA", bit(0)), ("o15", "RCO", rco)]
lines = header(16, t) + ["Тест1==Счетчик 74161: сброс и четыре полных цикла счета\""]
lines += words(10, [("Счет", 1, [14, 13, 12, 11])])
lines += signals(n, sigs)
lines += ["АлгоритмТестирования=1", "Всего циклов=4", "Начальный Такт=3", "Конечный Такт=34"] + trailer
write_test("counter_cyclic.qel", lines)
