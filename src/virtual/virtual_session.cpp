#include "virtual/virtual_session.h"

namespace qel::virt {

std::unique_ptr<VirtualSession> VirtualSession::create(const BoardConfig& config, tester::Clock& clock,
                                                       std::string& error) {
  auto board = Board::create(config, error);
  if (!board) return nullptr;
  std::unique_ptr<VirtualSession> s(new VirtualSession);
  s->board_ = std::move(board);
  s->device_ = std::make_unique<VirtualTester>(*s->board_, config.link.strayBytes, config.ramFault);
  s->driver_ = std::make_unique<VirtualDriver>(*s->device_, clock, config.link, config.bytesPerSecond,
                                               config.latencyMs);
  return s;
}

}  // namespace qel::virt
