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
  auto c = std::make_unique<TesterConnection>(useVirtual ? tester::driverLibraryName(true, built)
                                                         : tester::driverLibraryName(false));
  if (!c->binding.load(failure)) return nullptr;
  c->driver = std::make_unique<tester::BoundDriver>(c->binding);
  c->port = std::make_unique<tester::Port>(*c->driver, c->clock);
  c->link = std::make_unique<tester::TesterLink>(*c->port, c->clock);
  return c;
}

}  // namespace qel::gui
