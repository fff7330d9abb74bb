#include "tester/bound_driver.h"

namespace qel::tester {

BoundDriver::BoundDriver(const DriverBinding& binding)
    : openEx_(binding.openEx()),
      close_(binding.close()),
      queue_(binding.getQueueStatus()),
      read_(binding.read()),
      write_(binding.write()),
      purge_(binding.purge()) {}

d2xx::Status BoundDriver::openByDescription(const char* description, d2xx::Handle& handle) {
  if (openEx_ == nullptr) return d2xx::kOtherError;
  // The vendor's call takes the description through a non-const pointer and does not write it.
  return openEx_(const_cast<char*>(description), d2xx::kOpenByDescription, &handle);
}

d2xx::Status BoundDriver::close(d2xx::Handle handle) {
  return close_ == nullptr ? d2xx::kOtherError : close_(handle);
}

d2xx::Status BoundDriver::queueStatus(d2xx::Handle handle, uint32_t& count) {
  return queue_ == nullptr ? d2xx::kOtherError : queue_(handle, &count);
}

d2xx::Status BoundDriver::read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) {
  return read_ == nullptr ? d2xx::kOtherError : read_(handle, buffer, count, &countRead);
}

d2xx::Status BoundDriver::write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                                uint32_t& countWritten) {
  return write_ == nullptr ? d2xx::kOtherError
                           : write_(handle, const_cast<uint8_t*>(buffer), count, &countWritten);
}

d2xx::Status BoundDriver::purge(d2xx::Handle handle, uint32_t mask) {
  return purge_ == nullptr ? d2xx::kOtherError : purge_(handle, mask);
}

}  // namespace qel::tester
