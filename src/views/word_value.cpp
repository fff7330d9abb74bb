#include "views/word_value.h"

#include <algorithm>
#include <vector>

namespace qel::views {

std::string formatWordValue(const TestDescription& t, int cycle, int word, Source source) {
  if (cycle == 0) return " ";
  if (word < 0 || word >= kMaxDataWords) return "";
  const auto& w = t.words[size_t(word)];
  std::vector<int> bits;
  for (int s = 1; s <= kWordSlots && s <= t.pinCount && w.pins[size_t(s)] > 0; ++s) {
    const int pin = w.pins[size_t(s)];
    int bit = source == Source::Reference ? t.level(pin, cycle) : t.resultCode(pin, cycle) - 1;
    if (bit != 0 && bit != 1) return kUndefined;
    bits.push_back(bit);
  }
  const int radix = t.words[0].radix;
  const size_t n = bits.size();
  switch (radix) {
    case 16:
    case 10: {
      uint64_t v = 0;
      for (size_t i = 0; i < n && i < 64; ++i) v |= uint64_t(bits[i]) << i;
      if (radix == 10) return std::to_string(v);
      static constexpr char kHex[] = "0123456789ABCDEF";
      const size_t digits = std::max<size_t>(1, (n + 3) / 4);
      std::string out(digits, '0');
      for (size_t d = 0; d < digits; ++d) out[digits - 1 - d] = kHex[(v >> (4 * d)) & 0xF];
      return out;
    }
    case 8: {
      std::string out;
      for (size_t i = 0; i < n; i += 3) {
        int digit = 0;
        for (size_t b = 0; b < 3 && i + b < n; ++b) digit |= bits[i + b] << b;
        out.insert(out.begin(), char('0' + digit));
      }
      return out;
    }
    case 2: {
      std::string out;
      for (size_t i = n; i-- > 0;) out.push_back(char('0' + bits[i]));
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
