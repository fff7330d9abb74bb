#pragma once
// Upper case for names typed by people: Latin and Cyrillic letters, the rest kept as it is.

#include <string>
#include <string_view>

namespace qel::text {

// UTF-8 in, UTF-8 out, of the same length in bytes.
std::string upperCase(std::string_view utf8);

}  // namespace qel::text
