#include "testfile/reader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "testfile/symbol_planes.h"
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

class Parser {
 public:
  Parser(LineStream& in, TestDescription& test, Operator& op, const ParseLimits& limits)
      : in_(in), t_(test), op_(op), limits_(limits) {}

  ParseOutcome run() {
    ParseOutcome out;
    try {
      parseBody();
    } catch (const FormatError&) {
      out.formatError = true;
    }
    out.packageOk = true;
    out.readError = readError_;
    out.readErrorMessage = readErrorMessage_;
    out.storageError = t_.storageFailed();
    return out;
  }

 private:
  // The next read; empty past the end of the file, as a file that ends early reads.
  std::string_view take() {
    std::string_view l;
    if (!in_.next(l)) return {};
    if (const int percent = in_.percent(); percent != percent_) op_.waitProgress(percent_ = percent);
    return l;
  }
  // The read i places ahead of the next one, kept whole, for the trailing sections that look
  // ahead; empty past the end of the file.
  const std::string& ahead(size_t i) {
    static const std::string kNone;
    return hasAhead(i) ? ahead_[i] : kNone;
  }
  bool hasAhead(size_t i) {
    std::string_view l;
    while (ahead_.size() <= i && in_.next(l)) ahead_.emplace_back(l);
    return i < ahead_.size();
  }

  // Reports the first read error of the load; later ones stay silent.
  std::optional<int32_t> number(std::string_view text, const char* message) {
    auto v = text::parseDecimal(text);
    if (!v) fail(message);
    return v;
  }
  // Shown by the caller once the whole file has been read: a file that then proves unreadable
  // shows only that.
  void fail(const char* message) {
    if (readError_) return;
    readError_ = true;
    readErrorMessage_ = std::string("Ошибка чтения файла ") + message;
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
    int ioPins = 0;
    int passive = 0;
    for (int p = 1; p <= t_.pinCount; ++p) {
      auto& pin = t_.pins[size_t(p)];
      pin.typeText = utf8(valueOf(take()));
      if (pin.typeText == "I/O") ++ioPins;
      if (isPassiveType(pin.typeText)) ++passive;
    }
    t_.ioPinCount = ioPins;
    t_.passivePinCount = passive;
    take();  // test count: one block is read whatever it says

    const std::string name = utf8(valueOf(take()));
    const size_t chars = text::utf8Length(name);
    t_.testNames[1] =
        chars >= 2 ? text::utf8Prefix(name, chars - 1).substr(text::utf8Prefix(name, 1).size()) : "";

    parseWords();

    int32_t cycles = t_.cycleCount;
    read(cycles, valueOf(take()), "LoadS");
    if (cycles < 0 || cycles > limits_.maxCycles) throw FormatError{};
    t_.setCycleCount(cycles);

    int32_t signalCount = 0;
    read(signalCount, valueOf(take()), "LoadKolLeg");
    if (signalCount < 0 || signalCount > kRows) throw FormatError{};
    parseSignals(signalCount);

    parseAlgorithm();
    t_.templateCycles = t_.cycleCount;
    parseTrailer();
    if (t_.algorithmNumber == int32_t(AlgorithmKind::March)) parseMarchBlock();
    finish();
  }

  void parseWords() {
    int32_t count = 0;
    read(count, valueOf(take()), "LoadWordName");
    if (count < 0 || count > kMaxDataWords) throw FormatError{};
    t_.dataWordCount = count;
    if (count < 1) return;
    int32_t radix = t_.words[0].radix;
    read(radix, valueOf(take()), "LoadWordSys");
    for (int w = 0; w < count; ++w) t_.words[size_t(w)].radix = radix;
    for (int w = 0; w < count; ++w) {
      auto& word = t_.words[size_t(w)];
      const std::string_view l = take();
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
        read(pin, take(), "LoadWordCont");
        if (pin > kMaxDirectPin) throw FormatError{};
        word.pins[size_t(s)] = pin;
      }
    }
  }

  void parseSignals(int count) {
    SymbolPlanes planes;
    int halves = 0;
    for (int u = 1; u <= count; ++u) {
      const std::string_view keyLine = take();
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

      const std::string_view symbols = take();
      if (!symbols.empty() && symbols.front() == 'F') {
        t_.formula[size_t(q)] = utf8(valueOf(symbols));
        t_.pins[size_t(q)].typeText = q <= kMaxDirectPin ? "O=F(c)" : "O/i=F(c)";
      } else {
        if (int64_t(symbols.size()) > limits_.maxCycles) throw FormatError{};
        planes.add(symbols, q, p, outputHalf);
      }
    }
    // A line longer than the diagram holds grows the test once, to its length, so that no symbol
    // is lost to a grow that refills the cycles just written.
    const size_t longest = planes.longest();
    if (longest == 0) return;
    if (longest >= t_.referenceSize() / kReferenceRow && !t_.setCycleCount(int(longest))) return;
    const size_t held = std::min(t_.referenceSize() / kReferenceRow, t_.referenceSize() / 2 / kDirectionRow);
    if (held > 0) planes.commit(t_, std::min(longest, held - 1));
  }

  void parseAlgorithm() {
    const std::string_view value = valueOf(take());
    int32_t a = 0;
    if (!value.empty()) read(a, value, "LoadAlgot");
    t_.algorithmNumber = a;
    auto& alg = t_.algorithms;
    alg.select(a);
    auto next = [&] { return valueOf(take()); };
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
  void parseMarchBlock() {
    const std::string header = text::utf8ToFileLine(kMarchHeader);
    for (size_t k = 0; hasAhead(k); ++k) {
      std::string_view l = ahead(k);
      while (!l.empty() && (l.back() == ' ' || l.back() == '\t')) l.remove_suffix(1);
      if (l != header) continue;
      ++k;
      auto next = [&] { return valueOf(ahead(k++)); };
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

  void parseTrailer() {
    size_t k = 0;  // lines ahead
    auto contains = [&](size_t i, std::string_view what) {
      return utf8(ahead(i)).find(what) != std::string::npos;
    };
    auto electrical = [&] {
      if (!contains(k, "uhul, gen")) return;
      read(t_.levels, ahead(k + 1), "LoadParam");
      int32_t cycleTime = t_.cycleTime;
      read(cycleTime, ahead(k + 2), "LoadParam");
      t_.cycleTime = cycleTime >= 1 && cycleTime <= 8 ? cycleTime : 2;
      k += 3;
    };
    auto description = [&] {
      if (contains(k, "описания")) {
        t_.descriptionFile = utf8(ahead(k + 1));
        k += 3;
      } else {
        k += 1;
      }
    };
    electrical();
    description();
    electrical();
    description();
    if (contains(k, "описания")) t_.descriptionFile = utf8(ahead(k + 1));
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

  LineStream& in_;
  TestDescription& t_;
  Operator& op_;
  const ParseLimits limits_;
  std::vector<std::string> ahead_;
  int percent_ = -1;
  bool readError_ = false;
  std::string readErrorMessage_;
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

bool readPackage(LineStream& in, TestDescription& test) {
  std::string_view line;
  in.next(line);
  return parsePackage(valueOf(line), test);
}

ParseOutcome parseBody(LineStream& in, TestDescription& test, Operator& op, const ParseLimits& limits) {
  return Parser(in, test, op, limits).run();
}

ParseOutcome parseTest(const FileLines& file, TestDescription& test, Operator& op,
                       const ParseLimits& limits) {
  LineStream in = LineStream::over(file.ok() ? std::string_view(file.data) : std::string_view{});
  if (!readPackage(in, test)) {
    test.pinCount = 8;
    return {};
  }
  ParseOutcome out = parseBody(in, test, op, limits);
  if (!out.readErrorMessage.empty()) op.message(out.readErrorMessage, Icon::Error);
  return out;
}

}  // namespace qel::testfile
