#include "gui/tester_connection.h"

#include "tester/driver_choice.h"

namespace qel::gui {

std::unique_ptr<TesterConnection> connectTester(std::string& failure) {
#ifdef QEL_VIRTUAL_D2XX_PATH
  const std::string built = QEL_VIRTUAL_D2XX_PATH;
#else
  const std::string built;
#endif
  const bool useVirtual = tester::virtualTesterRequested();
  return tester::bindTester(
      useVirtual ? tester::driverLibraryName(true, built) : tester::driverLibraryName(false), failure);
}

}  // namespace qel::gui
