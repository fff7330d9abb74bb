#pragma once
// A board, the tester in front of it and the driver calls that reach it, built from one
// configuration. The in-process virtual tester of tests, the benchmark and the shared library.

#include <memory>
#include <string>

#include "virtual/board.h"
#include "virtual/board_config.h"
#include "virtual/device.h"
#include "virtual/virtual_driver.h"

namespace qel::virt {

class VirtualSession {
 public:
  // Null with an error text when the configuration is not usable.
  static std::unique_ptr<VirtualSession> create(const BoardConfig& config, tester::Clock& clock,
                                                std::string& error);

  Board& board() { return *board_; }
  VirtualTester& device() { return *device_; }
  VirtualDriver& driver() { return *driver_; }

 private:
  VirtualSession() = default;
  std::unique_ptr<Board> board_;
  std::unique_ptr<VirtualTester> device_;
  std::unique_ptr<VirtualDriver> driver_;
};

}  // namespace qel::virt
