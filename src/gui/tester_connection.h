#pragma once
// The bound driver library, the port and the link, living together for the program's life.

#include <memory>
#include <string>

#include "tester/tester_connection.h"

namespace qel::gui {

using tester::TesterConnection;

// Binds the tester QEL_TESTER chooses (or the platform's default); null with the failure text when
// it does not load.
std::unique_ptr<TesterConnection> connectTester(std::string& failure);

}  // namespace qel::gui
