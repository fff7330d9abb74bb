#include <array>

#include "engine/test_engine.h"

namespace qel::engine {

bool TestEngine::supplyCommandsRefused() const {
  return bench_.channelFault() || bench_.busy() || realtime_;
}

void TestEngine::togglePower() {
  if (supplyCommandsRefused()) return;
  if (bench_.testerNotInitialised()) initialiseTester();
  if (powerOn) {
    link_.powerOff();
    checkSupplyOff();
  } else {
    link_.powerOn();
  }
}

void TestEngine::powerOnCommand() {
  if (supplyCommandsRefused()) return;
  if (bench_.testerNotInitialised()) initialiseTester();
  // A supply that may be on is switched on for certain.
  if (link_.supplyState() != tester::SupplyState::On) link_.powerOn();
}

void TestEngine::powerOffCommand() {
  if (supplyCommandsRefused()) return;
  if (bench_.testerNotInitialised()) initialiseTester();
  if (powerOn) {
    link_.powerOff();
    checkSupplyOff();
  }
}

int TestEngine::readPinLevel(int pin) {
  // A run owns the port while busy.
  if (bench_.busy() || realtime_) return 0;
  if (!initialiseTester()) return 0;
  link_.powerOn();
  std::array<int32_t, tester::kMapPins> levels{};
  if (link_.readLevels(levels)) {
    raiseError(4);
    checkSupplyOff();
    return 0;
  }
  link_.powerOff();
  checkSupplyOff();
  return pin >= 1 && pin <= int(levels.size()) ? levels[size_t(pin - 1)] : 0;
}

}  // namespace qel::engine
