#include "tester/console.h"

#include "text/radix.h"

namespace qel::tester {

namespace {
// How long a read or write colours its indicator, so that the user sees it happen.
constexpr int kIndicatorMs = 50;

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
}  // namespace

HexParse parseHexTokens(std::string_view text) {
  HexParse r;
  size_t start = 0;
  while (true) {
    const size_t blank = text.find(' ', start);
    const std::string_view token =
        text.substr(start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
    uint32_t value = 0;
    bool ok = true;
    std::string_view digits = token;
    if (digits.size() > 1 && digits[0] == '$') digits.remove_prefix(1);
    for (char c : digits) {
      if (!isHexDigit(c)) {
        ok = false;
        break;
      }
      value = value * 16 + uint32_t(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    if (!ok) {
      r.badToken = std::string(token);
      r.bytes.clear();
      return r;
    }
    r.bytes.push_back(uint8_t(value & 0xFF));
    if (blank == std::string_view::npos) break;
    start = blank + 1;
  }
  return r;
}

std::string readReport(const std::vector<uint8_t>& bytes) {
  std::string s = "Полученные байты: ";
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) s += ' ';
    s += text::formatRadix(bytes[i], 16);
  }
  return s;
}

void UsbConsole::open() {
  if (port_.isOpen()) return;
  port_.logLine("Открываем порт...");
  port_.clock().sleepMs(kOpenSettleMs);
  port_.callOpen();
  port_.clock().sleepMs(kOpenSettleMs);
  port_.logStatus();
}

void UsbConsole::close() {
  if (!port_.isOpen()) return;
  port_.logLine("Закрываем порт...");
  port_.callClose();
  port_.logStatus();
}

void UsbConsole::clear() {
  port_.logLine("Очищаем Rx буфер...");
  port_.callPurge(d2xx::kPurgeRx);
  port_.logStatus();
  port_.logLine("Очищаем Tx буфер...");
  port_.callPurge(d2xx::kPurgeTx);
  port_.logStatus();
}

std::string UsbConsole::read() {
  if (port_.readIndicator) port_.readIndicator(true);
  port_.logLine("Читаем из USB...");
  lastRead_.clear();
  uint32_t waiting = 0;
  if (!port_.queuedBytes(waiting)) {
    if (waiting > 0) {
      lastRead_.resize(waiting);
      uint32_t got = 0;
      port_.callRead(lastRead_.data(), waiting, got);
      // Only what the driver delivered is shown.
      lastRead_.resize(got);
    }
    port_.logStatus();
    indicator_ = " Прочитано:  " + std::to_string(lastRead_.size());
    if (!lastRead_.empty()) port_.logLine(readReport(lastRead_));
  } else {
    port_.logStatus();
  }
  port_.clock().sleepMs(kIndicatorMs);
  if (port_.readIndicator) port_.readIndicator(false);
  return indicator_;
}

bool UsbConsole::write(std::string_view text, bool byteWise) {
  if (text.empty()) {
    op_.message("RIrori. Нечего писать!", Icon::Error);
    return false;
  }
  const HexParse parsed = parseHexTokens(text);
  if (!parsed.badToken.empty()) {
    op_.message("RIrori. \"" + parsed.badToken + "\" не является шестнадцатеричным числом", Icon::Error);
    return false;
  }
  port_.logLine("Запись в USB (" + std::to_string(parsed.bytes.size()) + " байт)...");
  if (byteWise)
    for (uint8_t b : parsed.bytes) port_.writeBytes(&b, 1);
  else
    port_.writeBytes(parsed.bytes.data(), parsed.bytes.size());
  port_.logStatus();
  port_.clock().sleepMs(kIndicatorMs);
  return true;
}

void UsbConsole::writeRkDk() {
  link_.sendCode(kRunImage);
  for (int i = 0; i < 2 * kMaxBlockCycles; ++i) link_.writeWordPair(0, 0xFFFF);
  op_.message("Всё ушло в аппарат", Icon::Information);
}

}  // namespace qel::tester
