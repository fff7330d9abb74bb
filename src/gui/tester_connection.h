#pragma once
// The bound driver library, the port and the link, living together for the program's life.

#include <memory>
#include <string>

#include "tester/bound_driver.h"
#include "tester/clock.h"
#include "tester/driver_binding.h"
#include "tester/port.h"
#include "tester/tester_link.h"

namespace qel::gui {

struct TesterConnection {
  explicit TesterConnection(const std::string& library) : binding(library) {}
  tester::DriverBinding binding;
  std::unique_ptr<tester::BoundDriver> driver;
  tester::SystemClock clock;
  std::unique_ptr<tester::Port> port;
  std::unique_ptr<tester::TesterLink> link;
};

// Binds the library QEL_TESTER chooses; null with the failure text when it does not load.
std::unique_ptr<TesterConnection> connectTester(std::string& failure);

}  // namespace qel::gui
