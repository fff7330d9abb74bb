#pragma once
// The USB console's own commands: open, close, clear, read what waits, write typed bytes and
// the memory image that drives nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "operator/operator.h"
#include "tester/port.h"
#include "tester/tester_link.h"

namespace qel::tester {

struct HexParse {
  std::vector<uint8_t> bytes;
  std::string badToken;  // the first token that is not a hexadecimal number; empty when all are
};

// Tokens split at single blanks, each a hexadecimal number whose low 8 bits give one byte; an
// empty token between two blanks gives 0.
HexParse parseHexTokens(std::string_view text);

// "Полученные байты: " and each byte in upper-case hexadecimal, as few digits as needed.
std::string readReport(const std::vector<uint8_t>& bytes);

class UsbConsole {
 public:
  UsbConsole(Port& port, TesterLink& link, Operator& op) : port_(port), link_(link), op_(op) {}

  void open();
  void close();
  void clear();
  // The indicator text " Прочитано:  N" after the read; the bytes read are kept in lastRead().
  std::string read();
  // False when nothing was written (empty or unreadable text).
  bool write(std::string_view text, bool byteWise);
  void writeRkDk();

  const std::vector<uint8_t>& lastRead() const { return lastRead_; }
  std::string indicator() const { return indicator_; }

 private:
  Port& port_;
  TesterLink& link_;
  Operator& op_;
  std::vector<uint8_t> lastRead_;
  std::string indicator_ = " Прочитано:  0";
};

}  // namespace qel::tester
