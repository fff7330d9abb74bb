#include "tester/tester_connection.h"

#include "tester/bound_driver.h"
#ifdef QEL_HAVE_FTDI
#include "tester/ftdi_calls.h"
#include "tester/ftdi_driver.h"
#endif

namespace qel::tester {

#ifndef QEL_HAVE_FTDI
class FtdiLibrary {};
#endif

TesterConnection::TesterConnection() = default;
TesterConnection::~TesterConnection() = default;

namespace {

std::unique_ptr<TesterConnection> withLink(std::unique_ptr<TesterConnection> c) {
  c->port = std::make_unique<Port>(*c->driver, c->clock);
  c->link = std::make_unique<TesterLink>(*c->port, c->clock);
  return c;
}

}  // namespace

std::unique_ptr<TesterConnection> bindTester(const std::string& library, std::string& failure) {
  auto c = std::make_unique<TesterConnection>();
  c->binding = std::make_unique<DriverBinding>(library);
  if (!c->binding->load(failure)) return nullptr;
  c->driver = std::make_unique<BoundDriver>(*c->binding);
  return withLink(std::move(c));
}

std::unique_ptr<TesterConnection> bindTester(TesterKind kind, std::string& failure) {
  if (kind != TesterKind::Ftdi) return bindTester(driverLibraryName(kind == TesterKind::Virtual), failure);
#ifdef QEL_HAVE_FTDI
  auto c = std::make_unique<TesterConnection>();
  c->ftdi = std::make_unique<FtdiLibrary>();
  if (!c->ftdi->load(failure)) return nullptr;
  c->driver = std::make_unique<FtdiDriver>(c->ftdi->calls());
  return withLink(std::move(c));
#else
  failure = "эта сборка программы не работает с libftdi; выберите d2xx или virtual";
  return nullptr;
#endif
}

}  // namespace qel::tester
