#pragma once
// Numbers as text: decimal fields of files, and addresses in the test's radix (2, 8, 10, 16).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qel::text {

// A decimal integer, surrounding blanks allowed; nullopt when it is not one or overflows 32 bits.
std::optional<int32_t> parseDecimal(std::string_view s);

// All digits, most significant first, no leading zeros, upper-case hexadecimal; negative values
// carry a minus sign. A radix other than 2, 8, 16 formats in decimal.
std::string formatRadix(int64_t value, int radix);

// Radix 16: 0-9, A-F, a-f, anything else counts as digit 0. Radix 8 and 2: each character is a
// decimal digit weighted by 8^k or 2^k from the right, non-digits counting as 0. Radix 10 (and
// any other): a signed decimal integer, nullopt when it is not one. Wider values wrap to 32 bits.
std::optional<int32_t> parseRadix(std::string_view s, int radix);

// The text with every character removed that is not a digit of the radix.
std::string cleanRadixText(std::string_view s, int radix);

}  // namespace qel::text
