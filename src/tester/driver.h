#pragma once
// The six driver calls the port layer makes. The bound vendor library, libftdi, the in-process
// virtual tester and test fakes all stand behind this.

#include <cstdint>
#include <string>

#include "tester/d2xx.h"

namespace qel::tester {

class Driver {
 public:
  virtual ~Driver() = default;
  virtual d2xx::Status openByDescription(const char* description, d2xx::Handle& handle) = 0;
  virtual d2xx::Status close(d2xx::Handle handle) = 0;
  virtual d2xx::Status queueStatus(d2xx::Handle handle, uint32_t& count) = 0;
  virtual d2xx::Status read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) = 0;
  virtual d2xx::Status write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                             uint32_t& countWritten) = 0;
  virtual d2xx::Status purge(d2xx::Handle handle, uint32_t mask) = 0;
  // Why the last call failed and what to do about it, in the user's words, where the driver can
  // say more than a status number; empty otherwise.
  virtual std::string failureDetail() const { return {}; }
};

}  // namespace qel::tester
