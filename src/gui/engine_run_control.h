#pragma once
// The runs of the main window on the TestEngine, over the bound driver library (the vendor's or
// the virtual tester's, by QEL_TESTER).

#include <memory>
#include <string>

#include "app/settings.h"
#include "engine/bench.h"
#include "gui/run_control.h"
#include "operator/operator.h"

namespace qel::engine {
class TestEngine;
}
namespace qel::tester {
struct TesterConnection;
}

namespace qel::gui {

using tester::TesterConnection;

class EngineRunControl : public RunControl {
 public:
  // Binds the library; null with the failure text when it cannot be loaded.
  static std::unique_ptr<EngineRunControl> create(engine::Bench& bench, const app::Settings& settings,
                                                  Operator& op, std::string& failure);
  ~EngineRunControl() override;

  // The thresholds, U0 and the options the engine works with, as read at start.
  void applySettings(const app::Settings& settings) override;
  engine::TestEngine& engine() { return *engine_; }
  // The port and the link the engine works through (the USB console's).
  TesterConnection& connection() { return *connection_; }

  bool startFullTest() override;
  bool startContactTest() override;
  bool continueRun() override;
  bool cancel() override;
  bool running() const override;
  bool continueEnabled() const override;
  void startRealtimeCheck() override;
  void realtimeTick() override;
  void stopRealtimeCheck() override;
  bool realtimeOn() const override;
  void togglePower() override;
  void powerOnCommand() override;
  void powerOffCommand() override;
  bool powerIsOn() const override;
  void startupCheck(bool testChannels) override;
  void shutdown() override;

 private:
  EngineRunControl() = default;
  std::unique_ptr<TesterConnection> connection_;
  std::unique_ptr<engine::TestEngine> engine_;
  Operator* op_ = nullptr;
};

}  // namespace qel::gui
