#include "text/radix.h"

#include <algorithm>
#include <charconv>

namespace qel::text {

std::optional<int32_t> parseDecimal(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty()) return std::nullopt;
  int32_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc{} || end != s.data() + s.size()) return std::nullopt;
  return v;
}

std::string formatRadix(int64_t value, int radix) {
  if (radix != 2 && radix != 8 && radix != 16) radix = 10;
  const bool negative = value < 0;
  uint64_t v = negative ? uint64_t(-(value + 1)) + 1 : uint64_t(value);
  std::string digits;
  do {
    const auto d = unsigned(v % unsigned(radix));
    digits.push_back(char(d < 10 ? '0' + d : 'A' + (d - 10)));
    v /= unsigned(radix);
  } while (v != 0);
  if (negative) digits.push_back('-');
  std::reverse(digits.begin(), digits.end());
  return digits;
}

std::optional<int32_t> parseRadix(std::string_view s, int radix) {
  if (radix == 16) {
    uint32_t v = 0;
    for (char c : s) {
      uint32_t d = 0;
      if (c >= '0' && c <= '9')
        d = uint32_t(c - '0');
      else if (c >= 'A' && c <= 'F')
        d = uint32_t(c - 'A' + 10);
      else if (c >= 'a' && c <= 'f')
        d = uint32_t(c - 'a' + 10);
      v = v * 16u + d;
    }
    return int32_t(v);
  }
  if (radix == 8 || radix == 2) {
    uint32_t v = 0;
    for (char c : s) v = v * uint32_t(radix) + (c >= '0' && c <= '9' ? uint32_t(c - '0') : 0u);
    return int32_t(v);
  }
  return parseDecimal(s);
}

std::string cleanRadixText(std::string_view s, int radix) {
  auto keep = [radix](char c) {
    switch (radix) {
      case 2:
        return c == '0' || c == '1';
      case 8:
        return c >= '0' && c <= '7';
      case 16:
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
      default:
        return c >= '0' && c <= '9';
    }
  };
  std::string out;
  for (char c : s)
    if (keep(c)) out.push_back(c);
  return out;
}

}  // namespace qel::text
