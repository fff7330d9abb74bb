#include "text/upper_case.h"

namespace qel::text {

std::string upperCase(std::string_view utf8) {
  std::string out(utf8);
  const size_t n = out.size();
  for (size_t i = 0; i < n; ++i) {
    auto b = static_cast<unsigned char>(out[i]);
    if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 32);
      continue;
    }
    if (i + 1 >= n || (b != 0xD0 && b != 0xD1 && b != 0xD2)) continue;
    const auto c = static_cast<unsigned char>(out[i + 1]);
    if (b == 0xD0 && c >= 0xB0 && c <= 0xBF) {  // а..п
      out[i + 1] = static_cast<char>(c - 0x20);
    } else if (b == 0xD1 && c >= 0x80 && c <= 0x8F) {  // р..я
      out[i] = static_cast<char>(0xD0);
      out[i + 1] = static_cast<char>(c + 0x20);
    } else if (b == 0xD1 && c >= 0x90 && c <= 0x9F) {  // ё, і, ї, ў ...
      out[i] = static_cast<char>(0xD0);
      out[i + 1] = static_cast<char>(c - 0x10);
    } else if (b == 0xD2 && c == 0x91) {  // ґ
      out[i + 1] = static_cast<char>(0x90);
    }
    ++i;
  }
  return out;
}

}  // namespace qel::text
