#pragma once
// The program's side (port, link) in front of an in-process virtual tester, on a manual clock.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/test_description.h"
#include "tester/initialise.h"
#include "tester/tester_link.h"
#include "virtual/virtual_session.h"

namespace qel::testing {

inline std::string roleText(virt::PinRole r) {
  switch (r) {
    case virt::PinRole::Input:
      return "I";
    case virt::PinRole::Output:
      return "O";
    case virt::PinRole::InOut:
      return "I/O";
    case virt::PinRole::Ground:
      return "GND";
    case virt::PinRole::Supply:
      return "VCC";
    case virt::PinRole::NotConnected:
      return "NC";
  }
  return "I";
}

struct VirtualRig {
  tester::ManualClock clock;
  std::unique_ptr<virt::VirtualSession> session;
  std::unique_ptr<tester::Port> port;
  std::unique_ptr<tester::TesterLink> link;
  TestDescription test;

  explicit VirtualRig(const virt::BoardConfig& config, int cycles = 100) {
    std::string error;
    session = virt::VirtualSession::create(config, clock, error);
    if (!session) throw std::runtime_error(error);
    port = std::make_unique<tester::Port>(session->driver(), clock);
    link = std::make_unique<tester::TesterLink>(*port, clock);
    const virt::Chip& chip = session->board().chip();
    test.pinCount = chip.pinCount();
    for (int p = 1; p <= test.pinCount; ++p) test.pins[size_t(p)].typeText = roleText(chip.role(p));
    test.computeTypeCodes();
    test.cycleCount = cycles;
  }
  static virt::BoardConfig chip(const std::string& part, std::vector<std::string> faults = {}) {
    virt::BoardConfig c;
    c.chip = part;
    for (const auto& f : faults)
      if (auto e = virt::applySpec(c, f)) throw std::runtime_error(*e);
    return c;
  }

  // Parameters for a block of the given length (acknowledged).
  bool parameters(int cycles) { return link->setTestParameters(tester::parametersOf(test, cycles, {})); }
  // Runs one block of drive rows (pinCount bytes each) and returns the result codes.
  std::vector<uint8_t> run(const std::vector<std::vector<uint8_t>>& rows, bool* failed = nullptr) {
    const int cycles = int(rows.size());
    std::vector<uint8_t> block;
    for (const auto& r : rows) block.insert(block.end(), r.begin(), r.end());
    parameters(cycles);
    link->composeImage(block);
    std::vector<uint8_t> result(block.size(), 5);
    const bool f = link->runImage(result);
    if (failed) *failed = f;
    return result;
  }
  // One row of drive levels: pin -> level, everything else undriven.
  std::vector<uint8_t> row(std::initializer_list<std::pair<int, int>> drive) const {
    std::vector<uint8_t> r(size_t(test.pinCount), 2);
    for (auto [pin, v] : drive) r[size_t(pin - 1)] = uint8_t(v);
    return r;
  }
};

}  // namespace qel::testing
