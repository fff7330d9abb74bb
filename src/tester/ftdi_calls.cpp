#include "tester/ftdi_calls.h"

#include <ftdi.h>

#include <type_traits>
#include <utility>
#include <vector>

#include "tester/driver_binding.h"

namespace qel::tester {

namespace {

// The slots must have libftdi's own signatures, or the calls through them would be undefined.
template <typename Slot, typename Function>
constexpr bool sameSignature(Slot, Function) {
  return std::is_same_v<Slot, Function>;
}
static_assert(sameSignature(FtdiCalls{}.newContext, &::ftdi_new));
static_assert(sameSignature(FtdiCalls{}.freeContext, &::ftdi_free));
static_assert(sameSignature(FtdiCalls{}.openByDescription, &::ftdi_usb_open_desc));
static_assert(sameSignature(FtdiCalls{}.close, &::ftdi_usb_close));
static_assert(sameSignature(FtdiCalls{}.readData, &::ftdi_read_data));
static_assert(sameSignature(FtdiCalls{}.writeData, &::ftdi_write_data));
static_assert(sameSignature(FtdiCalls{}.flushReceive, &::ftdi_tciflush));
static_assert(sameSignature(FtdiCalls{}.flushTransmit, &::ftdi_tcoflush));
static_assert(sameSignature(FtdiCalls{}.setLatencyTimer, &::ftdi_set_latency_timer));
static_assert(sameSignature(FtdiCalls{}.errorString, &::ftdi_get_error_string));

template <typename Fn>
std::pair<void**, const char*> slot(Fn& fn, const char* name) {
  return {reinterpret_cast<void**>(&fn), name};
}

}  // namespace

FtdiLibrary::~FtdiLibrary() {
  releaseLibrary(handle_);
}

bool FtdiLibrary::load(std::string& errorText) {
  errorText.clear();
  const std::vector<std::pair<void**, const char*>> entries = {
      slot(calls_.newContext, "ftdi_new"),
      slot(calls_.freeContext, "ftdi_free"),
      slot(calls_.openByDescription, "ftdi_usb_open_desc"),
      slot(calls_.close, "ftdi_usb_close"),
      slot(calls_.readData, "ftdi_read_data"),
      slot(calls_.writeData, "ftdi_write_data"),
      slot(calls_.flushReceive, "ftdi_tciflush"),
      slot(calls_.flushTransmit, "ftdi_tcoflush"),
      slot(calls_.setLatencyTimer, "ftdi_set_latency_timer"),
      slot(calls_.errorString, "ftdi_get_error_string"),
  };
  const LoadResult r = loadLibraryEntries(libraryName_, entries);
  handle_ = r.handle;
  if (r.ok) return true;
  errorText = libraryFailureText(libraryName_, r);
  calls_ = {};
  return false;
}

}  // namespace qel::tester
