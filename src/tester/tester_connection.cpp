#include "tester/tester_connection.h"

namespace qel::tester {

std::unique_ptr<TesterConnection> bindTester(const std::string& library, std::string& failure) {
  auto c = std::make_unique<TesterConnection>(library);
  if (!c->binding.load(failure)) return nullptr;
  c->driver = std::make_unique<BoundDriver>(c->binding);
  c->port = std::make_unique<Port>(*c->driver, c->clock);
  c->link = std::make_unique<TesterLink>(*c->port, c->clock);
  return c;
}

}  // namespace qel::tester
