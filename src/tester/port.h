#pragma once
// The port layer: the one device handle, the status of the latest driver call and the status log.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "tester/clock.h"
#include "tester/d2xx.h"
#include "tester/driver.h"
#include "tester/port_log.h"

namespace qel::tester {

inline constexpr const char* kDeviceDescription = "QV USB";
// Waited before and after opening: the interface chip needs the time after a close or a plug-in.
inline constexpr int kOpenSettleMs = 500;

class Port {
 public:
  Port(Driver& driver, Clock& clock) : driver_(driver), clock_(clock) {}

  // Each returns true when it failed (lastStatus non-zero after the call), unless stated.
  bool openPort();
  void closePort();
  bool queuedBytes(uint32_t& count);
  // A failed driver read is reported as a failure, and a read that delivers fewer bytes than
  // asked for leaves countRead short; callers must check both.
  bool readBytes(int count, uint8_t* buffer, uint32_t& countRead);
  bool writeBytes(const uint8_t* buffer, size_t count);
  bool purgePort();

  // Single driver calls that store their status, for the console.
  d2xx::Status callOpen();
  d2xx::Status callClose();
  d2xx::Status callPurge(uint32_t mask);
  d2xx::Status callRead(uint8_t* buffer, uint32_t count, uint32_t& countRead);

  void logLine(std::string_view text);
  void logAppend(std::string_view text) { log_.append(text); }
  void logStatus();

  bool isOpen() const { return handle_ != nullptr; }
  d2xx::Status lastStatus() const { return lastStatus_; }
  // What the driver could say about its last failure, beyond the status; often empty.
  std::string failureDetail() const { return driver_.failureDetail(); }
  const PortLog& log() const { return log_; }
  PortLog& log() { return log_; }
  Clock& clock() { return clock_; }

  // The console's read indicator: true while a read is going on (shown red).
  std::function<void(bool)> readIndicator;

 private:
  Driver& driver_;
  Clock& clock_;
  d2xx::Handle handle_ = nullptr;
  d2xx::Status lastStatus_ = d2xx::kOk;
  PortLog log_;
};

}  // namespace qel::tester
