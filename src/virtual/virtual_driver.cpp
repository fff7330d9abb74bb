#include "virtual/virtual_driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tester/port.h"

namespace qel::virt {

VirtualDriver::VirtualDriver(VirtualTester& device, tester::Clock& clock, const LinkFaults& faults,
                             double bytesPerSecond, int latencyMs)
    : device_(device),
      clock_(clock),
      faults_(faults),
      rate_(bytesPerSecond),
      latencyMicros_(int64_t(latencyMs) * 1000) {}

d2xx::Status VirtualDriver::check(d2xx::Handle handle) const {
  if (!open_ || handle != this) return d2xx::kInvalidHandle;
  if (broken_) return d2xx::kIoError;
  return d2xx::kOk;
}

d2xx::Status VirtualDriver::openByDescription(const char* description, d2xx::Handle& handle) {
  if (faults_.absent || description == nullptr || std::strcmp(description, tester::kDeviceDescription) != 0 ||
      broken_)
    return d2xx::kDeviceNotFound;
  open_ = true;
  handle = this;
  lastMicros_ = clock_.nowMicros();
  return d2xx::kOk;
}

d2xx::Status VirtualDriver::close(d2xx::Handle handle) {
  if (!open_ || handle != this) return d2xx::kInvalidHandle;
  open_ = false;
  return d2xx::kOk;
}

uint32_t VirtualDriver::visible() {
  if (latencyMicros_ > 0 && clock_.nowMicros() < answersFrom_) return 0;
  uint64_t n = device_.pending();
  if (faults_.silentAfter)
    n = std::min<uint64_t>(n, *faults_.silentAfter > delivered_ ? *faults_.silentAfter - delivered_ : 0);
  if (faults_.breakAfter) {
    // The bytes before the break still arrive; waiting for more than those breaks the link.
    const uint64_t allowed = *faults_.breakAfter > delivered_ ? *faults_.breakAfter - delivered_ : 0;
    const bool clipped = n > allowed;
    if (clipped && (allowed == 0 || clippedLastQuery_)) {
      broken_ = true;
      return 0;
    }
    clippedLastQuery_ = clipped;
    n = std::min(n, allowed);
  }
  if (rate_ > 0) {
    // One link carries both ways: answers arrive only once what was written is out.
    const int64_t now = clock_.nowMicros();
    const int64_t from = std::max(lastMicros_, writeFreeMicros_);
    const double arrived = now > from ? double(now - from) * rate_ / 1e6 : 0.0;
    budget_ = std::min(budget_ + arrived, double(device_.pending()));
    lastMicros_ = now;
    n = std::min<uint64_t>(n, uint64_t(budget_));
  }
  return uint32_t(std::min<uint64_t>(n, UINT32_MAX));
}

d2xx::Status VirtualDriver::queueStatus(d2xx::Handle handle, uint32_t& count) {
  count = 0;
  if (const d2xx::Status s = check(handle)) return s;
  count = visible();
  return broken_ ? d2xx::kIoError : d2xx::kOk;
}

d2xx::Status VirtualDriver::read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) {
  countRead = 0;
  if (const d2xx::Status s = check(handle)) return s;
  const uint32_t n = std::min(count, visible());
  if (broken_) return d2xx::kIoError;
  countRead = uint32_t(device_.take(buffer, n));
  delivered_ += countRead;
  clippedLastQuery_ = false;
  if (rate_ > 0) budget_ -= countRead;
  return d2xx::kOk;
}

d2xx::Status VirtualDriver::write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                                  uint32_t& countWritten) {
  countWritten = 0;
  if (const d2xx::Status s = check(handle)) return s;
  if (rate_ > 0) {
    // The answers of earlier commands keep arriving up to now; none arrive while this goes out.
    visible();
    // The link is busy until every byte written so far is out; short commands share a
    // millisecond instead of each rounding up to one.
    const int64_t now = clock_.nowMicros();
    writeFreeMicros_ = std::max(writeFreeMicros_, now) + int64_t(std::llround(double(count) * 1e6 / rate_));
    if (const int64_t ahead = writeFreeMicros_ - now; ahead >= 1000) clock_.sleepMs(int(ahead / 1000));
    lastMicros_ = clock_.nowMicros();
  }
  device_.receive(buffer, count);
  countWritten = count;
  if (latencyMicros_ > 0) answersFrom_ = clock_.nowMicros() + latencyMicros_;
  return d2xx::kOk;
}

d2xx::Status VirtualDriver::purge(d2xx::Handle handle, uint32_t mask) {
  if (const d2xx::Status s = check(handle)) return s;
  if (mask & d2xx::kPurgeRx) device_.clearOutput();
  return d2xx::kOk;
}

}  // namespace qel::virt
