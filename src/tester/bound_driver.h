#pragma once
// Driver calls through a loaded DriverBinding.

#include "tester/driver.h"
#include "tester/driver_binding.h"

namespace qel::tester {

class BoundDriver : public Driver {
 public:
  // The binding must be loaded and outlive this object.
  explicit BoundDriver(const DriverBinding& binding);

  d2xx::Status openByDescription(const char* description, d2xx::Handle& handle) override;
  d2xx::Status close(d2xx::Handle handle) override;
  d2xx::Status queueStatus(d2xx::Handle handle, uint32_t& count) override;
  d2xx::Status read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) override;
  d2xx::Status write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                     uint32_t& countWritten) override;
  d2xx::Status purge(d2xx::Handle handle, uint32_t mask) override;

 private:
  d2xx::OpenExFn openEx_;
  d2xx::CloseFn close_;
  d2xx::GetQueueStatusFn queue_;
  d2xx::ReadFn read_;
  d2xx::WriteFn write_;
  d2xx::PurgeFn purge_;
};

}  // namespace qel::tester
