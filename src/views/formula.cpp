#include "views/formula.h"

namespace qel::views {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// d0 o1 d1 o2 d2 ...: digits at even positions, operators at odd ones, no precedence.
char flat(std::string_view t) {
  int v = !t.empty() && t[0] == '1' ? 1 : 0;
  int x = 0;
  for (size_t i = 1; i < t.size(); i += 2) {
    const char op = t[i];
    const char d = i + 1 < t.size() ? t[i + 1] : '\0';
    if (d == '1')
      x = 1;
    else if (d == '0')
      x = 0;
    switch (op) {
      case '|':
        v = v > x ? v : x;
        break;
      case '&':
      case '*':
        v = v * x;
        break;
      case 'X':
        v = v + x == 2 ? 0 : v + x;
        break;
      default:
        break;
    }
  }
  return char('0' + v);
}

int reduce(std::string t) {
  while (t.size() > 1) {
    const auto close = t.find(')');
    if (close == std::string::npos) {
      t = std::string(1, flat(t));
      continue;
    }
    const auto open = t.rfind('(', close);
    if (open == std::string::npos) return 2;  // unbalanced: nothing to decide
    const std::string inner = t.substr(open + 1, close - open - 1);
    if (open > 0 && t[open - 1] == '!')
      t.replace(open - 1, close - open + 2, 1, flat(inner + "X1"));
    else
      t.replace(open, close - open + 1, 1, flat(inner));
  }
  return t.size() == 1 && isDigit(t[0]) ? t[0] - '0' : 2;
}

}  // namespace

CompiledFormula::CompiledFormula(std::string_view f) {
  for (size_t i = 0; i < f.size(); ++i) {
    if (f[i] != 'C') {
      shape_.push_back(f[i]);
      continue;
    }
    // Two digits when the character two places on is a digit, else one.
    const bool two = i + 2 < f.size() && isDigit(f[i + 2]);
    if (i + 1 >= f.size() || !isDigit(f[i + 1])) {
      undecidable_ = true;
      pins_.push_back(0);
      break;
    }
    const int pin = two ? (f[i + 1] - '0') * 10 + (f[i + 2] - '0') : f[i + 1] - '0';
    pins_.push_back(pin >= 1 && pin <= 50 ? pin : 0);
    if (pin < 1 || pin > 50) undecidable_ = true;
    slots_.push_back(shape_.size());
    shape_.push_back('?');
    i += two ? 2 : 1;
  }
}

int CompiledFormula::evaluate(const PinLevels& levels) const {
  if (undecidable_) return 2;
  std::string t = shape_;
  for (size_t k = 0; k < slots_.size(); ++k) {
    const uint8_t l = levels[size_t(pins_[k])];
    if (l > 1) return 2;
    t[slots_[k]] = char('0' + l);
  }
  return reduce(std::move(t));
}

int evaluateFormula(std::string_view formula, const PinLevels& levels) {
  return CompiledFormula(formula).evaluate(levels);
}

}  // namespace qel::views
