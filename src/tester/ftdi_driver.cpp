#include "tester/ftdi_driver.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace qel::tester {

namespace {

// Chunks of the chip's own buffer size; a full one means more may be waiting.
constexpr int kChunk = 4096;
// Well past the largest answer of a block; beyond it the bytes wait in the chip.
constexpr size_t kQueueLimit = size_t(1) << 20;
// libftdi's code for "device not found" from ftdi_usb_open_desc.
constexpr int kNotFound = -3;
// The chip sends what it has after this many milliseconds (16 by default), and every poll of an
// empty queue waits for it: 2 ms keeps the 10 ms polls of the link close to their time.
constexpr unsigned char kLatencyMs = 2;

bool contains(const std::string& text, const char* word) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower.find(word) != std::string::npos;
}

}  // namespace

std::string ftdiOpenFailureText(int code, const std::string& libraryReason) {
  if (code == kNotFound) return {};
  const std::string reason = "libftdi: " + libraryReason + " (" + std::to_string(code) + ").";
  // -4: the device could not be opened, which for a user is the permissions of its device node.
  if (code == -4 || contains(libraryReason, "permission"))
    return reason +
           " Нет доступа к USB-устройству тестера. Установите правило udev 60-qel-tester.rules (из пакета "
           "qel или из packaging/udev), выполните «sudo udevadm control --reload-rules» и переподключите "
           "тестер; пользователь должен входить в группу plugdev.";
  // -5 and -11: the interface is held, most often by the kernel's serial driver.
  if (code == -5 || code == -11 || contains(libraryReason, "claim") || contains(libraryReason, "detach"))
    return reason +
           " Устройство занято драйвером ядра ftdi_sio или другой программой. Закройте другие программы, "
           "работающие с тестером, или выгрузите драйвер: «sudo rmmod ftdi_sio».";
  return reason;
}

FtdiDriver::~FtdiDriver() {
  if (context_ != nullptr) close(context_);
}

d2xx::Status FtdiDriver::failed(const char* call, int code) {
  const char* reason = context_ != nullptr ? calls_.errorString(context_) : nullptr;
  detail_ = std::string("libftdi: ") + call + ": " + (reason != nullptr ? reason : "") + " (" +
            std::to_string(code) + ").";
  return d2xx::kIoError;
}

d2xx::Status FtdiDriver::openByDescription(const char* description, d2xx::Handle& handle) {
  handle = nullptr;
  detail_.clear();
  // One device at a time, as the vendor's driver refuses a second open of the same chip.
  if (context_ != nullptr) return d2xx::kDeviceNotOpened;
  ftdi_context* context = calls_.newContext();
  if (context == nullptr) {
    detail_ = "libftdi: не удалось начать работу с USB (libusb не инициализирована).";
    return d2xx::kInsufficientResources;
  }
  int result = kNotFound;
  for (int product : kFtdiProducts) {
    result = calls_.openByDescription(context, kFtdiVendor, product, description, nullptr);
    if (result != kNotFound) break;
  }
  if (result != 0) {
    const char* reason = calls_.errorString(context);
    detail_ = ftdiOpenFailureText(result, reason != nullptr ? reason : "");
    calls_.freeContext(context);
    return result == kNotFound ? d2xx::kDeviceNotFound : d2xx::kDeviceNotOpened;
  }
  calls_.setLatencyTimer(context, kLatencyMs);
  context_ = context;
  queue_.clear();
  head_ = 0;
  handle = context_;
  return d2xx::kOk;
}

d2xx::Status FtdiDriver::close(d2xx::Handle handle) {
  if (!ours(handle)) return d2xx::kInvalidHandle;
  calls_.close(context_);
  calls_.freeContext(context_);
  context_ = nullptr;
  queue_.clear();
  head_ = 0;
  return d2xx::kOk;
}

bool FtdiDriver::fill() {
  if (head_ > 0 && head_ >= queue_.size() / 2) {
    queue_.erase(queue_.begin(), queue_.begin() + std::ptrdiff_t(head_));
    head_ = 0;
  }
  while (queued() < kQueueLimit) {
    const size_t at = queue_.size();
    queue_.resize(at + kChunk);
    const int n = calls_.readData(context_, queue_.data() + at, kChunk);
    queue_.resize(at + size_t(std::max(n, 0)));
    if (n < 0) {
      failed("ftdi_read_data", n);
      return false;
    }
    if (n < kChunk) break;
  }
  return true;
}

d2xx::Status FtdiDriver::queueStatus(d2xx::Handle handle, uint32_t& count) {
  count = 0;
  if (!ours(handle)) return d2xx::kInvalidHandle;
  if (!fill()) return d2xx::kIoError;
  count = uint32_t(queued());
  return d2xx::kOk;
}

d2xx::Status FtdiDriver::read(d2xx::Handle handle, uint8_t* buffer, uint32_t count, uint32_t& countRead) {
  countRead = 0;
  if (!ours(handle)) return d2xx::kInvalidHandle;
  if (queued() < count && !fill()) return d2xx::kIoError;
  const size_t n = std::min<size_t>(count, queued());
  std::memcpy(buffer, queue_.data() + head_, n);
  head_ += n;
  countRead = uint32_t(n);
  return d2xx::kOk;
}

d2xx::Status FtdiDriver::write(d2xx::Handle handle, const uint8_t* buffer, uint32_t count,
                               uint32_t& countWritten) {
  countWritten = 0;
  if (!ours(handle)) return d2xx::kInvalidHandle;
  const int n = calls_.writeData(context_, buffer, int(count));
  if (n < 0) return failed("ftdi_write_data", n);
  countWritten = uint32_t(n);
  return d2xx::kOk;
}

d2xx::Status FtdiDriver::purge(d2xx::Handle handle, uint32_t mask) {
  if (!ours(handle)) return d2xx::kInvalidHandle;
  if (mask & d2xx::kPurgeRx) {
    queue_.clear();
    head_ = 0;
    if (const int r = calls_.flushReceive(context_); r < 0) return failed("ftdi_tciflush", r);
  }
  if (mask & d2xx::kPurgeTx) {
    if (const int r = calls_.flushTransmit(context_); r < 0) return failed("ftdi_tcoflush", r);
  }
  return d2xx::kOk;
}

}  // namespace qel::tester
