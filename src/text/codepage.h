#pragma once
// Text is UTF-8 in memory. Test files are DOS Cyrillic (cp866) and are read and written by the
// program's fixed letter rule over Windows Cyrillic (cp1251); reference books are cp1251.

#include <cstdint>
#include <string>
#include <string_view>

namespace qel::text {

std::string cp1251ToUtf8(std::string_view bytes);
// Characters without a cp1251 byte become "?".
std::string utf8ToCp1251(std::string_view utf8);

// One byte of a test file to cp1251 and back, by the fixed rule (with Ё and ё kept whole).
uint8_t fileByteToCp1251(uint8_t b);
uint8_t cp1251ToFileByte(uint8_t b);

// A line of a test file to UTF-8 and back.
std::string fileLineToUtf8(std::string_view line);
std::string utf8ToFileLine(std::string_view utf8);

// Counts characters, not bytes.
size_t utf8Length(std::string_view s);
std::string utf8Prefix(std::string_view s, size_t characters);

}  // namespace qel::text
