#pragma once
// What the main window asks of the tester side: runs, real-time contact checking, the supply.
// The engine stands behind it; without a tester library nothing runs.

#include "app/settings.h"

namespace qel::gui {

class RunControl {
 public:
  virtual ~RunControl() = default;
  virtual bool startFullTest() = 0;
  virtual bool startContactTest() = 0;
  virtual bool continueRun() = 0;
  virtual bool cancel() = 0;
  virtual bool running() const = 0;
  virtual bool continueEnabled() const = 0;

  virtual void startRealtimeCheck() = 0;
  virtual void realtimeTick() = 0;
  virtual void stopRealtimeCheck() = 0;
  virtual bool realtimeOn() const = 0;

  virtual void togglePower() = 0;
  virtual void powerOnCommand() = 0;
  virtual void powerOffCommand() = 0;
  virtual bool powerIsOn() const = 0;

  // Start-up: the channel self-test, or the presence check with "Устройство не подключено".
  virtual void startupCheck(bool testChannels) = 0;
  // Closing: park the tester and switch its supply off; errors are ignored.
  virtual void shutdown() = 0;
  // The thresholds, U0 and the four program options the runs work with.
  virtual void applySettings(const app::Settings& settings) = 0;
};

}  // namespace qel::gui
