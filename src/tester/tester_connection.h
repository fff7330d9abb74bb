#pragma once
// The bound driver library, the port and the link, living together.

#include <memory>
#include <string>

#include "tester/clock.h"
#include "tester/driver.h"
#include "tester/driver_binding.h"
#include "tester/driver_choice.h"
#include "tester/port.h"
#include "tester/tester_link.h"

namespace qel::tester {

class FtdiLibrary;

struct TesterConnection {
  TesterConnection();
  ~TesterConnection();
  // The library behind the driver: a D2XX-style one (the vendor's or the virtual tester's), or
  // libftdi. Declared first, so it is released after everything that calls it.
  std::unique_ptr<DriverBinding> binding;
  std::unique_ptr<FtdiLibrary> ftdi;
  std::unique_ptr<Driver> driver;
  SystemClock clock;
  std::unique_ptr<Port> port;
  std::unique_ptr<TesterLink> link;
};

// Binds a D2XX-style library by name and builds the port and the link on it; null, with the
// loader's failure text, when the library does not bind.
std::unique_ptr<TesterConnection> bindTester(const std::string& library, std::string& failure);

// The same for a kind of tester: its library found as driver_choice says.
std::unique_ptr<TesterConnection> bindTester(TesterKind kind, std::string& failure);

}  // namespace qel::tester
