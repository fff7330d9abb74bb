#include "gui/tester_connection.h"

#include "tester/driver_choice.h"

namespace qel::gui {

std::unique_ptr<TesterConnection> connectTester(std::string& failure) {
  const auto kind = tester::chosenTesterKind(failure);
  return kind ? tester::bindTester(*kind, failure) : nullptr;
}

}  // namespace qel::gui
