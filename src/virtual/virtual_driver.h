#pragma once
// The virtual tester behind the driver calls, with the link's own faults and optional pacing.

#include <cstdint>

#include "tester/clock.h"
#include "tester/driver.h"
#include "virtual/board_config.h"
#include "virtual/device.h"

namespace qel::virt {

class VirtualDriver : public tester::Driver {
 public:
  VirtualDriver(VirtualTester& device, tester::Clock& clock, const LinkFaults& faults,
                double bytesPerSecond = 0, int latencyMs = 0);

  d2xx::Status openByDescription(const char* description, d2xx::Handle& handle) override;
  d2xx::Status close(d2xx::Handle handle) override;
  d2xx::Status queueStatus(d2xx::Handle handle, uint32_t& count) override;
  d2xx::Status read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) override;
  d2xx::Status write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                     uint32_t& countWritten) override;
  d2xx::Status purge(d2xx::Handle handle, uint32_t mask) override;

  bool broken() const { return broken_; }
  uint64_t delivered() const { return delivered_; }

 private:
  d2xx::Status check(d2xx::Handle handle) const;
  // Bytes the program may see now.
  uint32_t visible();

  VirtualTester& device_;
  tester::Clock& clock_;
  LinkFaults faults_;
  double rate_;
  int64_t latencyMicros_;
  int64_t answersFrom_ = 0;  // answers to the latest write show from this time on
  bool open_ = false;
  bool broken_ = false;
  bool clippedLastQuery_ = false;
  uint64_t delivered_ = 0;
  double budget_ = 0;  // paced bytes that have arrived but were not read yet
  int64_t lastMicros_ = 0;
  int64_t writeFreeMicros_ = 0;  // when the bytes written so far are all out
};

}  // namespace qel::virt
