#include "testfile/reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "text/codepage.h"
#include "text/radix.h"

namespace qel::testfile {

namespace {

constexpr std::array<int, 9> kPinCounts = {8, 14, 16, 18, 20, 24, 28, 32, 40};

struct FormatError {};

std::string_view keyOf(std::string_view line) {
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view{} : line.substr(0, eq);
}
std::string_view valueOf(std::string_view line) {
  const auto eq = line.find('=');
  return eq == std::string_view::npos ? std::string_view{} : line.substr(eq + 1);
}
std::string utf8(std::string_view raw) {
  return text::fileLineToUtf8(raw);
}

// A signal whose symbol line is written into the diagram in the cycle pass.
struct SymbolLine {
  std::string_view symbols;
  int slot;    // signal number q
  int target;  // pin slot that "_" and "-" write to
  bool outputHalf;
};

class Parser {
 public:
  Parser(const FileLines& file, TestDescription& test, Operator& op, const ParseLimits& limits)
      : file_(file), t_(test), op_(op), limits_(limits) {}

  ParseOutcome run() {
    ParseOutcome out;
    out.packageOk = parsePackage(valueOf(file_.raw(0)), t_);
    if (!out.packageOk) {
      t_.pinCount = 8;
      return out;
    }
    try {
      parseBody();
    } catch (const FormatError&) {
      out.formatError = true;
    }
    out.readError = readError_;
    out.storageError = t_.storageFailed();
    return out;
  }

 private:
  std::string_view line(size_t k) const { return file_.raw(k); }

  // Reports the first read error of the load; later ones stay silent.
  std::optional<int32_t> number(std::string_view text, const char* message) {
    auto v = text::parseDecimal(text);
    if (!v) fail(message);
    return v;
  }
  void fail(const char* message) {
    if (readError_) return;
    readError_ = true;
    op_.message(std::string("Ошибка чтения файла ") + message, Icon::Error);
  }
  void read(int32_t& field, std::string_view text, const char* message) {
    if (auto v = number(text, message)) field = *v;
  }
  void readWord(int32_t& field, std::string_view text) {
    if (auto v = number(text, "LoadAlgData")) field = *v - 1;
  }
  void readAddress(int32_t& field, std::string_view text) {
    if (t_.dataWordCount < 1) return;  // no words, no radix: the default stays
    auto v = text::parseRadix(text, t_.words[0].radix);
    if (v)
      field = *v;
    else
      fail("LoadA");
  }

  void parseBody() {
    size_t k = 1;
    int ioPins = 0;
    int passive = 0;
    for (int p = 1; p <= t_.pinCount; ++p, ++k) {
      auto& pin = t_.pins[size_t(p)];
      pin.typeText = utf8(valueOf(line(k)));
      if (pin.typeText == "I/O") ++ioPins;
      if (isPassiveType(pin.typeText)) ++passive;
    }
    t_.ioPinCount = ioPins;
    t_.passivePinCount = passive;
    ++k;  // test count: one block is read whatever it says

    const std::string name = utf8(valueOf(line(k++)));
    const size_t chars = text::utf8Length(name);
    t_.testNames[1] =
        chars >= 2 ? text::utf8Prefix(name, chars - 1).substr(text::utf8Prefix(name, 1).size()) : "";

    parseWords(k);

    int32_t cycles = t_.cycleCount;
    read(cycles, valueOf(line(k++)), "LoadS");
    if (cycles < 0 || cycles > limits_.maxCycles) throw FormatError{};
    t_.setCycleCount(cycles);

    int32_t signalCount = 0;
    read(signalCount, valueOf(line(k++)), "LoadKolLeg");
    if (signalCount < 0 || signalCount > kRows) throw FormatError{};
    parseSignals(k, signalCount);

    parseAlgorithm(k);
    t_.templateCycles = t_.cycleCount;
    parseTrailer(k);
    if (t_.algorithmNumber == int32_t(AlgorithmKind::March)) parseMarchBlock(k);
    finish();
  }

  void parseWords(size_t& k) {
    int32_t count = 0;
    read(count, valueOf(line(k++)), "LoadWordName");
    if (count < 0 || count > kMaxDataWords) throw FormatError{};
    t_.dataWordCount = count;
    if (count < 1) return;
    int32_t radix = t_.words[0].radix;
    read(radix, valueOf(line(k++)), "LoadWordSys");
    for (int w = 0; w < count; ++w) t_.words[size_t(w)].radix = radix;
    for (int w = 0; w < count; ++w) {
      auto& word = t_.words[size_t(w)];
      const std::string_view l = line(k++);
      word.name = utf8(keyOf(l));
      const std::string_view value = valueOf(l);
      const auto bar = value.find('|');
      int32_t n = 0;
      read(n, value.substr(0, bar), "LoadWordColCont");
      if (n < 0 || n > kWordSlots) throw FormatError{};
      if (bar == std::string_view::npos) {
        word.ioKind = n;
      } else if (auto m = text::parseDecimal(value.substr(bar + 1))) {
        word.ioKind = *m;
      } else if (!readError_) {
        word.ioKind = 1;
      }
      for (int s = 1; s <= n; ++s) {
        int32_t pin = 0;
        read(pin, line(k++), "LoadWordCont");
        if (pin > kMaxDirectPin) throw FormatError{};
        word.pins[size_t(s)] = pin;
      }
    }
  }

  void parseSignals(size_t& k, int count) {
    std::vector<SymbolLine> symbolLines;
    symbolLines.reserve(size_t(count));
    int halves = 0;
    for (int u = 1; u <= count; ++u) {
      const std::string_view keyLine = line(k++);
      const std::string_view key = keyOf(keyLine);
      const char side = key.empty() ? '\0' : key.front();
      int32_t p = 0;
      if (auto v = number(key.empty() ? key : key.substr(1), "LoadCont")) p = *v;
      if (p < 0 || p > kMaxDirectPin) throw FormatError{};
      const bool outputHalf = side == 'o' && t_.pins[size_t(p)].typeText == "I/O";
      const int q = outputHalf ? p + 50 : p;
      t_.pins[size_t(q)].name = utf8(valueOf(keyLine));
      t_.rows[size_t(u - halves)] = {p, 1};
      if (outputHalf) ++halves;

      const std::string_view symbols = line(k++);
      if (!symbols.empty() && symbols.front() == 'F') {
        t_.formula[size_t(q)] = utf8(valueOf(symbols));
        t_.pins[size_t(q)].typeText = q <= kMaxDirectPin ? "O=F(c)" : "O/i=F(c)";
      } else {
        symbolLines.push_back({symbols, q, outputHalf ? p : q, outputHalf});
      }
    }
    writeSymbols(symbolLines);
  }

  // Cycle by cycle over all symbol lines at once, so each diagram row is written in one sweep;
  // within a cycle the lines apply in file order, as they would one after the other.
  void writeSymbols(const std::vector<SymbolLine>& lines) {
    size_t longest = 0;
    for (const auto& l : lines) longest = std::max(longest, l.symbols.size());
    if (longest == 0) return;
    if (int64_t(longest) > limits_.maxCycles) throw FormatError{};
    // A line longer than the diagram holds grows the test once, to its length, so that no symbol
    // is lost to a grow that refills the cycles just written.
    const size_t rowsHeld = t_.referenceBuffer().size() / kReferenceRow;
    if (longest >= rowsHeld && !t_.setCycleCount(int(longest))) return;

    auto& ref = t_.referenceBuffer();
    const size_t limit =
        std::min({longest, ref.size() / kReferenceRow - 1, t_.directionBitCount() / kDirectionRow - 1});
    uint8_t* dir = t_.directionBits();
    auto setBit = [dir](size_t bit, bool on) {
      const auto mask = uint8_t(1u << (bit & 7));
      dir[bit >> 3] = on ? uint8_t(dir[bit >> 3] | mask) : uint8_t(dir[bit >> 3] & ~mask);
    };
    // Blocks of cycles small enough to stay in cache; within a block the lines apply in file
    // order, so every row ends as if the lines had been written one after the other.
    constexpr size_t kBlock = 2048;
    for (size_t j0 = 1; j0 <= limit; j0 += kBlock) {
      const size_t j1 = std::min(limit, j0 + kBlock - 1);
      for (const auto& l : lines) {
        const size_t end = std::min(j1, l.symbols.size());
        const char* sym = l.symbols.data();
        if (!l.outputHalf) {
          for (size_t j = j0; j <= end; ++j) {
            const char ch = sym[j - 1];
            ref[j * kReferenceRow + size_t(l.slot)] = ch == '_' ? kLow : ch == '-' ? kHigh : kDontCare;
            setBit(j * kDirectionRow + size_t(l.slot), false);
          }
        } else {
          for (size_t j = j0; j <= end; ++j) {
            const char ch = sym[j - 1];
            ref[j * kReferenceRow + size_t(l.slot)] = kDontCare;
            if (ch == '_' || ch == '-') {
              ref[j * kReferenceRow + size_t(l.target)] = ch == '_' ? kLow : kHigh;
              setBit(j * kDirectionRow + size_t(l.target), true);
            }
          }
        }
      }
    }
  }

  void parseAlgorithm(size_t& k) {
    const std::string_view value = valueOf(line(k++));
    int32_t a = 0;
    if (!value.empty()) read(a, value, "LoadAlgot");
    t_.algorithmNumber = a;
    auto& alg = t_.algorithms;
    alg.select(a);
    auto next = [&] { return valueOf(line(k++)); };
    switch (a) {
      case 1:
        read(alg.cyclic.repeatCount, next(), "LoadAlgData");
        read(alg.cyclic.repeatFirst, next(), "LoadAlgData");
        read(alg.cyclic.repeatLast, next(), "LoadAlgData");
        break;
      case 2: {
        auto& r = alg.rom;
        read(r.unused, next(), "LoadAlgData");
        readWord(r.addressWord, next());
        read(r.addressCycle, next(), "LoadAlgData");
        read(r.addressCycles, next(), "LoadAlgData");
        readAddress(r.startAddress, next());
        readAddress(r.finalAddress, next());
        readWord(r.dataWord, next());
        read(r.dataCycle, next(), "LoadAlgData");
        r.dataFileName = utf8(next());
        break;
      }
      case 3:
        readMemoryTest(alg.ram, next);
        break;
      default:
        break;
    }
  }

  template <class Next>
  void readMemoryTest(MemoryTestParams& r, Next& next) {
    readAddress(r.startAddress, next());
    readAddress(r.finalAddress, next());
    read(r.readStartCycle, next(), "LoadAlgData");
    read(r.writeStartCycle, next(), "LoadAlgData");
    readWord(r.readAddressWord, next());
    readWord(r.writeAddressWord, next());
    read(r.readAddressCycle, next(), "LoadAlgData");
    read(r.readAddressCycles, next(), "LoadAlgData");
    read(r.writeAddressCycle, next(), "LoadAlgData");
    read(r.writeAddressCycles, next(), "LoadAlgData");
    readWord(r.readDataWord, next());
    readWord(r.writeDataWord, next());
    read(r.readDataCycle, next(), "LoadAlgData");
    read(r.writeDataCycle, next(), "LoadAlgData");
    read(r.readDataCycles, next(), "LoadAlgData");
    read(r.writeDataCycles, next(), "LoadAlgData");
  }

  // The March block stands under its own header after the trailing sections, where a reader that
  // knows only algorithms 0..3 never looks: it keeps the trailer and takes the template as it is.
  void parseMarchBlock(size_t from) {
    const std::string header = text::utf8ToFileLine(kMarchHeader);
    for (size_t k = from; k < file_.lines.size(); ++k) {
      std::string_view l = line(k);
      while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.remove_suffix(1);
      if (l != header) continue;
      ++k;
      auto next = [&] { return valueOf(line(k++)); };
      MarchParams& m = t_.algorithms.march;
      readMemoryTest(m, next);
      int32_t background = int32_t(m.background);
      read(background, next(), "LoadAlgData");
      if (background == int32_t(MarchBackground::Solid) ||
          background == int32_t(MarchBackground::Checkerboard))
        m.background = MarchBackground(background);
      else
        fail("LoadAlgData");
      return;
    }
    fail("LoadAlgData");
  }

  void parseTrailer(size_t k) {
    auto contains = [&](size_t i, std::string_view what) {
      return utf8(line(i)).find(what) != std::string::npos;
    };
    auto electrical = [&] {
      if (!contains(k, "uhul, gen")) return;
      read(t_.levels, line(k + 1), "LoadParam");
      int32_t cycleTime = t_.cycleTime;
      read(cycleTime, line(k + 2), "LoadParam");
      t_.cycleTime = cycleTime >= 1 && cycleTime <= 8 ? cycleTime : 2;
      k += 3;
    };
    auto description = [&] {
      if (contains(k, "описания")) {
        t_.descriptionFile = utf8(line(k + 1));
        k += 3;
      } else {
        k += 1;
      }
    };
    electrical();
    description();
    electrical();
    description();
    if (contains(k, "описания")) t_.descriptionFile = utf8(line(k + 1));
  }

  void finish() {
    int row = t_.pinCount - t_.passivePinCount + 1;
    for (int p = 1; p <= t_.pinCount && row <= kRows; ++p)
      if (t_.isPassive(p)) t_.rows[size_t(row++)] = {p, 1};
    for (int s = 1; s <= t_.pinCount + t_.ioPinCount && s <= kMaxSignal; ++s)
      t_.setLevel(s, t_.cycleCount + 1, kDontCare);
    t_.computeTypeCodes();
    t_.ioPinCount = 0;
    t_.takeReferenceBackup();
  }

  const FileLines& file_;
  TestDescription& t_;
  Operator& op_;
  const ParseLimits limits_;
  bool readError_ = false;
};

}  // namespace

bool parsePackage(std::string_view token, TestDescription& test) {
  for (const auto* kind : {"DIP", "SOIC"}) {
    for (int n : kPinCounts) {
      if (token == std::string(kind) + std::to_string(n)) {
        test.pinCount = n;
        test.isSoic = std::string_view(kind) == "SOIC";
        return true;
      }
    }
  }
  return false;
}

ParseOutcome parseTest(const FileLines& file, TestDescription& test, Operator& op,
                       const ParseLimits& limits) {
  return Parser(file, test, op, limits).run();
}

}  // namespace qel::testfile
