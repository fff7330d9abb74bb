#pragma once
// The bound driver library, the port and the link, living together.

#include <memory>
#include <string>

#include "tester/bound_driver.h"
#include "tester/clock.h"
#include "tester/driver_binding.h"
#include "tester/port.h"
#include "tester/tester_link.h"

namespace qel::tester {

struct TesterConnection {
  explicit TesterConnection(const std::string& library) : binding(library) {}
  DriverBinding binding;
  std::unique_ptr<BoundDriver> driver;
  SystemClock clock;
  std::unique_ptr<Port> port;
  std::unique_ptr<TesterLink> link;
};

// Binds the library by name and builds the port and the link on it; null, with the loader's
// failure text, when the library does not bind.
std::unique_ptr<TesterConnection> bindTester(const std::string& library, std::string& failure);

}  // namespace qel::tester
