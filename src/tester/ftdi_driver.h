#pragma once
// The six driver calls over libftdi1, the open library that reaches FTDI chips on Linux without
// the vendor's driver. libftdi has no queue status: bytes are read from the chip into a queue of
// our own, and the queue status is what that queue holds.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tester/driver.h"
#include "tester/ftdi_calls.h"

namespace qel::tester {

// FTDI's vendor id and the product ids its chips come with, tried in turn for the description.
inline constexpr int kFtdiVendor = 0x0403;
inline constexpr std::array<int, 5> kFtdiProducts = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};

class FtdiDriver : public Driver {
 public:
  // The calls must stay valid for the life of the driver.
  explicit FtdiDriver(const FtdiCalls& calls) : calls_(calls) {}
  ~FtdiDriver() override;
  FtdiDriver(const FtdiDriver&) = delete;
  FtdiDriver& operator=(const FtdiDriver&) = delete;

  d2xx::Status openByDescription(const char* description, d2xx::Handle& handle) override;
  d2xx::Status close(d2xx::Handle handle) override;
  d2xx::Status queueStatus(d2xx::Handle handle, uint32_t& count) override;
  d2xx::Status read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) override;
  d2xx::Status write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                     uint32_t& countWritten) override;
  d2xx::Status purge(d2xx::Handle handle, uint32_t mask) override;
  std::string failureDetail() const override { return detail_; }

  // Bytes taken from the chip and not yet read by the program.
  size_t queued() const { return queue_.size() - head_; }

 private:
  bool ours(d2xx::Handle handle) const { return context_ != nullptr && handle == context_; }
  // Reads what the chip has into the queue; false when libftdi failed.
  bool fill();
  d2xx::Status failed(const char* call, int code);

  const FtdiCalls& calls_;
  ftdi_context* context_ = nullptr;
  std::vector<uint8_t> queue_;
  size_t head_ = 0;
  std::string detail_;
};

// What the user is told when libftdi could not open the device: the library's reason, and what to
// do about permissions or the kernel's ftdi_sio driver. Empty when the device is simply absent.
std::string ftdiOpenFailureText(int code, const std::string& libraryReason);

}  // namespace qel::tester
