#include "tester/port.h"

#include <string>

namespace qel::tester {

d2xx::Status Port::callOpen() {
  d2xx::Handle h = nullptr;
  lastStatus_ = driver_.openByDescription(kDeviceDescription, h);
  handle_ = lastStatus_ == d2xx::kOk ? h : nullptr;
  return lastStatus_;
}

d2xx::Status Port::callClose() {
  lastStatus_ = driver_.close(handle_);
  handle_ = nullptr;
  return lastStatus_;
}

d2xx::Status Port::callPurge(uint32_t mask) {
  lastStatus_ = driver_.purge(handle_, mask);
  return lastStatus_;
}

d2xx::Status Port::callRead(uint8_t* buffer, uint32_t count, uint32_t& countRead) {
  countRead = 0;
  lastStatus_ = driver_.read(handle_, buffer, count, countRead);
  return lastStatus_;
}

bool Port::openPort() {
  if (handle_ == nullptr) {
    logLine("Открываем порт...");
    clock_.sleepMs(kOpenSettleMs);
    callOpen();
    logStatus();
    if (const std::string detail = driver_.failureDetail(); lastStatus_ != d2xx::kOk && !detail.empty())
      logLine(detail);
  }
  return lastStatus_ != d2xx::kOk;
}

void Port::closePort() {
  if (handle_ != nullptr) callClose();
}

bool Port::queuedBytes(uint32_t& count) {
  count = 0;
  lastStatus_ = driver_.queueStatus(handle_, count);
  return lastStatus_ != d2xx::kOk;
}

bool Port::readBytes(int count, uint8_t* buffer, uint32_t& countRead) {
  countRead = 0;
  if (readIndicator) readIndicator(true);
  logLine("Читаем из USB...");
  if (lastStatus_ == d2xx::kOk) {
    if (count > 0) {
      // The driver's own verdict counts: a failed read is not an answer.
      callRead(buffer, uint32_t(count), countRead);
      if (lastStatus_ != d2xx::kOk) logStatus();
    }
  } else {
    logStatus();
  }
  if (readIndicator) readIndicator(false);
  return lastStatus_ != d2xx::kOk;
}

bool Port::writeBytes(const uint8_t* buffer, size_t count) {
  uint32_t written = 0;
  lastStatus_ = driver_.write(handle_, buffer, uint32_t(count), written);
  if (lastStatus_ == d2xx::kOk && written != count) lastStatus_ = d2xx::kIoError;
  return lastStatus_ != d2xx::kOk;
}

bool Port::purgePort() {
  driver_.purge(handle_, d2xx::kPurgeRx);
  lastStatus_ = driver_.purge(handle_, d2xx::kPurgeTx);
  return lastStatus_ != d2xx::kOk;
}

void Port::logLine(std::string_view text) {
  std::string head = clock_.timeOfDay();
  head += ": ";
  log_.add(head, text);
}

void Port::logStatus() {
  if (lastStatus_ == d2xx::kOk)
    log_.append("OK");
  else
    log_.append("ОШИБКА [" + std::to_string(lastStatus_) + "]");
}

}  // namespace qel::tester
