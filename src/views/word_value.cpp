#include "views/word_value.h"

#include <algorithm>
#include <vector>

namespace qel::views {

std::string formatWordValue(const TestDescription& t, int cycle, int word, Source source) {
  if (cycle == 0) return " ";
  if (word < 0 || word >= kMaxDataWords) return "";
  return formatWordBits(readWordBits(t, cycle, word, source), t.words[0].radix);
}

WordBits readWordBits(const TestDescription& t, int cycle, int word, Source source) {
  WordBits r;
  const auto& w = t.words[size_t(word)];
  for (int s = 1; s <= kWordSlots && s <= t.pinCount && w.pins[size_t(s)] > 0; ++s) {
    const int pin = w.pins[size_t(s)];
    const int bit = source == Source::Reference ? t.level(pin, cycle) : t.resultCode(pin, cycle) - 1;
    if (bit != 0 && bit != 1) {
      r.undefined = true;
      return r;
    }
    if (r.bits < 64) r.value |= uint64_t(bit) << r.bits;
    ++r.bits;
  }
  return r;
}

std::string formatWordBits(const WordBits& w, int radix) {
  if (w.undefined) return kUndefined;
  const size_t n = size_t(w.bits);
  const uint64_t v = w.value;
  auto bit = [&](size_t i) { return i < 64 ? int((v >> i) & 1) : 0; };
  switch (radix) {
    case 16:
    case 10: {
      if (radix == 10) return std::to_string(v);
      static constexpr char kHex[] = "0123456789ABCDEF";
      const size_t digits = std::max<size_t>(1, (n + 3) / 4);
      std::string out(digits, '0');
      for (size_t d = 0; d < digits && d < 16; ++d) out[digits - 1 - d] = kHex[(v >> (4 * d)) & 0xF];
      return out;
    }
    case 8: {
      const size_t digits = (n + 2) / 3;
      std::string out(digits, '0');
      for (size_t d = 0; d < digits; ++d)
        out[digits - 1 - d] = char('0' + (bit(3 * d) | bit(3 * d + 1) << 1 | bit(3 * d + 2) << 2));
      return out;
    }
    case 2: {
      std::string out(n, '0');
      for (size_t i = 0; i < n; ++i) out[n - 1 - i] = char('0' + bit(i));
      return out;
    }
    default:
      return "";
  }
}

std::string wordSelectorHint(const DataWord& w) {
  std::string list;
  for (int s = 1; s <= kWordSlots && w.pins[size_t(s)] > 0; ++s)
    list.append(1, ' ').append(std::to_string(w.pins[size_t(s)])).append(1, ';');
  if (list.empty())
    list = "нет";
  else
    list.back() = '.';
  return "Слово: " + w.name + ", Систеам счисления: " + std::to_string(w.radix) + ", Конткты:" + list;
}

void checkWordContactKinds(const TestDescription& t, Operator& op, bool showMessages) {
  for (int k = 0; k < t.dataWordCount && k < kMaxDataWords; ++k) {
    const auto& w = t.words[size_t(k)];
    bool any = false, in = false, out = false, io = false;
    for (int s = 1; s <= kWordSlots; ++s) {
      const int pin = w.pins[size_t(s)];
      if (pin <= 0 || pin >= kPinRecords) continue;
      any = true;
      const auto& type = t.pins[size_t(pin)].typeText;
      in |= type == "I";
      out |= type == "O";
      io |= type == "I/O";
    }
    int b = 1;
    if (any) {
      if (in && out && io)
        b = 5;
      else if (out && io)
        b = 4;
      else if (in && io)
        b = 3;
      else if (in && out)
        b = 2;
      else if (io)
        b = 7;
      else if (out)
        b = 6;
      else if (in)
        b = 8;
      else
        b = 0;
    }
    if (b == 0) op.message("Ошибка программы. Обратитесь к разработчикам", Icon::Error);
    const int kind = w.ioKind >= 0 && w.ioKind <= 2 ? w.ioKind : 0;
    const bool consistent = (kind == 0 && b == 8) || (kind == 1 && b == 6) || (kind == 2 && b == 7);
    if (consistent || !showMessages) continue;
    static constexpr const char* kKinds[] = {" I ", " O ", " I/O "};
    std::string composition;
    switch (b) {
      case 8:
        composition = "I)";
        break;
      case 6:
        composition = "0)";
        break;
      case 7:
        composition = "I/O)";
        break;
      case 2:
        composition = "I,О)";
        break;
      case 3:
        composition = "I,I/О)";
        break;
      case 4:
        composition = "O,I/О)";
        break;
      case 5:
        composition = "I,О,I/O)";
        break;
      default:
        break;
    }
    op.message("Слово данных " + w.name + kKinds[kind] + "Содержит разные по типу контакты (" + composition,
               Icon::Error);
  }
}

}  // namespace qel::views
