#pragma once
// The libftdi1 calls of the open-driver backend. They are bound at run time, as the vendor's
// library is, so the program starts where libftdi is not installed, and tests can stand in for
// them with functions of their own.

#include <string>

struct ftdi_context;

namespace qel::tester {

inline constexpr const char* kFtdiLibrary = "libftdi1.so.2";

struct FtdiCalls {
  ftdi_context* (*newContext)() = nullptr;       // ftdi_new
  void (*freeContext)(ftdi_context*) = nullptr;  // ftdi_free
  int (*openByDescription)(ftdi_context*, int vendor, int product, const char* description,
                           const char* serial) = nullptr;                // ftdi_usb_open_desc
  int (*close)(ftdi_context*) = nullptr;                                 // ftdi_usb_close
  int (*readData)(ftdi_context*, unsigned char*, int) = nullptr;         // ftdi_read_data
  int (*writeData)(ftdi_context*, const unsigned char*, int) = nullptr;  // ftdi_write_data
  int (*flushReceive)(ftdi_context*) = nullptr;                          // ftdi_tciflush
  int (*flushTransmit)(ftdi_context*) = nullptr;                         // ftdi_tcoflush
  int (*setLatencyTimer)(ftdi_context*, unsigned char) = nullptr;        // ftdi_set_latency_timer
  const char* (*errorString)(ftdi_context*) = nullptr;                   // ftdi_get_error_string
};

// The library and its resolved calls for the life of the object.
class FtdiLibrary {
 public:
  explicit FtdiLibrary(std::string libraryName = kFtdiLibrary) : libraryName_(std::move(libraryName)) {}
  ~FtdiLibrary();
  FtdiLibrary(const FtdiLibrary&) = delete;
  FtdiLibrary& operator=(const FtdiLibrary&) = delete;

  // On failure errorText says why, in the binding's words.
  bool load(std::string& errorText);
  const FtdiCalls& calls() const { return calls_; }

 private:
  std::string libraryName_;
  void* handle_ = nullptr;
  FtdiCalls calls_;
};

}  // namespace qel::tester
