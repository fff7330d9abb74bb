#include "text/codepage.h"

#include <array>

namespace qel::text {

namespace {

// Unicode of the Windows Cyrillic bytes 0x80..0xFF (0x98 has no character and keeps its value).
constexpr std::array<char16_t, 128> kCp1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

void appendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(char(cp));
  } else if (cp < 0x800) {
    out.push_back(char(0xC0 | (cp >> 6)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(char(0xE0 | (cp >> 12)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(char(0xF0 | (cp >> 18)));
    out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(char(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at i; a malformed byte stands for itself as U+FFFD.
uint32_t nextCodePoint(std::string_view s, size_t& i) {
  const auto b0 = uint8_t(s[i]);
  auto cont = [&](size_t k) { return k < s.size() && (uint8_t(s[k]) & 0xC0) == 0x80; };
  if (b0 < 0x80) {
    ++i;
    return b0;
  }
  if ((b0 & 0xE0) == 0xC0 && cont(i + 1)) {
    uint32_t cp = (uint32_t(b0 & 0x1F) << 6) | (uint8_t(s[i + 1]) & 0x3F);
    i += 2;
    return cp;
  }
  if ((b0 & 0xF0) == 0xE0 && cont(i + 1) && cont(i + 2)) {
    uint32_t cp =
        (uint32_t(b0 & 0x0F) << 12) | (uint32_t(uint8_t(s[i + 1]) & 0x3F) << 6) | (uint8_t(s[i + 2]) & 0x3F);
    i += 3;
    return cp;
  }
  if ((b0 & 0xF8) == 0xF0 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
    uint32_t cp = (uint32_t(b0 & 0x07) << 18) | (uint32_t(uint8_t(s[i + 1]) & 0x3F) << 12) |
                  (uint32_t(uint8_t(s[i + 2]) & 0x3F) << 6) | (uint8_t(s[i + 3]) & 0x3F);
    i += 4;
    return cp;
  }
  ++i;
  return 0xFFFD;
}

uint8_t cp1251Byte(uint32_t cp) {
  if (cp < 0x80) return uint8_t(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return uint8_t(0xC0 + (cp - 0x0410));
  for (size_t k = 0; k < kCp1251.size(); ++k)
    if (kCp1251[k] == cp) return uint8_t(0x80 + k);
  return '?';
}

}  // namespace

std::string cp1251ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char ch : bytes) {
    const auto b = uint8_t(ch);
    if (b < 0x80)
      out.push_back(ch);
    else
      appendUtf8(out, kCp1251[b - 0x80]);
  }
  return out;
}

std::string utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) out.push_back(char(cp1251Byte(nextCodePoint(utf8, i))));
  return out;
}

uint8_t fileByteToCp1251(uint8_t b) {
  if (b == 0xFC) return 0xB9;                          // №
  if (b >= 0xE0 && b <= 0xEF) return uint8_t(b + 16);  // р..я
  if (b >= 0x80 && b <= 0xAF) return uint8_t(b + 64);  // А..п
  if (b == 0xF0) return 0xA8;                          // Ё
  if (b == 0xF1) return 0xB8;                          // ё
  return b;
}

uint8_t cp1251ToFileByte(uint8_t b) {
  if (b == 0xA8) return 0xF0;  // Ё
  if (b == 0xB8) return 0xF1;  // ё
  if (b >= 0xF0) return uint8_t(b - 16);
  if (b >= 0xC0) return uint8_t(b - 64);
  if (b == 0xB9) return 0xFC;
  return b;
}

std::string fileLineToUtf8(std::string_view line) {
  bool ascii = true;
  for (char ch : line)
    if (uint8_t(ch) >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return std::string(line);
  std::string cp;
  cp.reserve(line.size());
  for (char ch : line) cp.push_back(char(fileByteToCp1251(uint8_t(ch))));
  return cp1251ToUtf8(cp);
}

std::string utf8ToFileLine(std::string_view utf8) {
  std::string out = utf8ToCp1251(utf8);
  for (auto& ch : out) ch = char(cp1251ToFileByte(uint8_t(ch)));
  return out;
}

size_t utf8Length(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size();) {
    nextCodePoint(s, i);
    ++n;
  }
  return n;
}

std::string utf8Prefix(std::string_view s, size_t characters) {
  size_t i = 0;
  for (size_t n = 0; n < characters && i < s.size(); ++n) nextCodePoint(s, i);
  return std::string(s.substr(0, i));
}

}  // namespace qel::text
