#include "testfile/writer.h"

#include "fileio/safe_save.h"
#include "text/codepage.h"

namespace qel::testfile {

namespace {

class Out {
 public:
  void line(std::string_view utf8Text) {
    text_ += text::utf8ToFileLine(utf8Text);
    text_ += "\r\n";
  }
  void raw(std::string_view ascii) {
    text_ += ascii;
    text_ += "\r\n";
  }
  std::string take() { return std::move(text_); }
  std::string& buffer() { return text_; }

 private:
  std::string text_;
};

char resultSymbol(const TestDescription& t, int pin, int cycle) {
  if (t.level(pin, cycle) == kDontCare) return '*';
  switch (t.resultCode(pin, cycle)) {
    case kReadLow:
      return '_';
    case kReadHigh:
      return '-';
    default:
      return '*';  // 4, and cells a partial run never measured: nothing to assert
  }
}

char referenceSymbol(uint8_t level) {
  return level == kLow ? '_' : level == kHigh ? '-' : '*';
}

void symbols(Out& out, const TestDescription& t, int pin, WriteSource source, int onlyRead) {
  std::string& b = out.buffer();
  b.reserve(b.size() + size_t(t.cycleCount) + 2);
  for (int c = 1; c <= t.cycleCount; ++c) {
    if (source == WriteSource::Result) {
      b.push_back(resultSymbol(t, pin, c));
    } else if (onlyRead >= 0 && t.isRead(pin, c) != bool(onlyRead)) {
      b.push_back('*');
    } else {
      b.push_back(referenceSymbol(t.level(pin, c)));
    }
  }
  b += "\r\n";
}

}  // namespace

std::string formatTestFile(const TestDescription& t, WriteSource source) {
  Out out;
  out.line(std::string(t.isSoic ? "Тип корпуса=SOIC" : "Тип корпуса=DIP") + std::to_string(t.pinCount));
  for (int p = 1; p <= t.pinCount; ++p) {
    const auto& type = t.pins[size_t(p)].typeText;
    out.line(std::to_string(p) + "=" + (type == "O=F(c)" ? std::string("O") : type));
  }
  out.line("Число Тестов=1");
  out.line("Тест1==" + t.testNames[1] + "\"");
  out.line("Слов Данных=" + std::to_string(t.dataWordCount));
  if (t.dataWordCount > 0) out.line("СистемаСчисления=" + std::to_string(t.words[0].radix));
  for (int w = 0; w < t.dataWordCount; ++w) {
    const auto& word = t.words[size_t(w)];
    std::vector<int> pins;
    for (int s = 1; s <= t.pinCount; ++s)
      if (word.pins[size_t(s)] > 0) pins.push_back(word.pins[size_t(s)]);
    // The kind goes along ("|m"): without it a reload takes the pin count for the kind.
    out.line(word.name + "=" + std::to_string(pins.size()) + "|" + std::to_string(word.ioKind));
    for (int p : pins) out.raw(std::to_string(p));
  }
  out.line("Число Тактов=" + std::to_string(t.cycleCount));

  // The reference of an I/O pin needs both halves to load back: driven cycles on its "i" line,
  // read cycles on its "o" line. The result is saved as the pin's driven levels, one line a pin.
  struct Signal {
    int q;
    int onlyRead;  // -1 all cycles, 0 driven cycles, 1 read cycles
  };
  std::vector<Signal> signals;
  for (int r = 1; r <= t.pinCount + t.ioPinCount && r <= kRows; ++r) {
    const int q = t.rowSignal(r);
    if (q < 0 || q > kMaxSignal || t.isPassive(q)) continue;
    const auto& type = t.pins[size_t(q)].typeText;
    const bool io = type == "I/O" && source == WriteSource::Reference;
    signals.push_back({q, io ? 0 : -1});
    if (io) signals.push_back({q, 1});
  }
  out.line("Число сигналов управления=" + std::to_string(signals.size()));
  for (const auto& s : signals) {
    const auto& rec = t.pins[size_t(s.q)];
    const bool ioOutput = s.onlyRead == 1;
    const bool input = s.q <= 50 && !ioOutput && !rec.typeText.empty() && rec.typeText[0] == 'I';
    std::string key(1, input ? 'i' : 'o');
    key += std::to_string(s.q > 50 ? s.q - 50 : s.q);
    out.line(key + "=" + (ioOutput ? t.pins[size_t(s.q + 50)].name : rec.name));
    if (!rec.typeText.empty() && rec.typeText[0] == 'F')
      out.line("F=" + t.formula[size_t(s.q)]);
    else
      symbols(out, t, s.q, source, s.onlyRead);
  }
  out.line("Конец Файла");
  out.line("Дополнительные парметры:( uhul, gen)");
  out.raw(std::to_string(t.levels));
  out.raw(std::to_string(t.cycleTime));
  return out.take();
}

std::string writeTestFile(const TestDescription& test, const std::string& path, WriteSource source) {
  return fileio::saveFile(path, formatTestFile(test, source));
}

}  // namespace qel::testfile
