#include "gui/engine_run_control.h"

#include "app/startup.h"
#include "engine/parameters.h"
#include "engine/test_engine.h"
#include "gui/tester_connection.h"

namespace qel::gui {

std::unique_ptr<EngineRunControl> EngineRunControl::create(engine::Bench& bench,
                                                           const app::Settings& settings, Operator& op,
                                                           std::string& failure) {
  auto connection = connectTester(failure);
  if (!connection) return nullptr;
  std::unique_ptr<EngineRunControl> runs(new EngineRunControl);
  runs->op_ = &op;
  runs->engine_ = std::make_unique<engine::TestEngine>(bench, *connection->link, connection->clock, op);
  runs->connection_ = std::move(connection);
  runs->applySettings(settings);
  return runs;
}

EngineRunControl::~EngineRunControl() {
  if (engine_ && engine_->running()) {
    engine_->requestStop();
    engine_->wait();
  }
  engine_.reset();
}

void EngineRunControl::applySettings(const app::Settings& s) {
  engine_->settings().levels = s.levels;
  engine::ProgramOptions options;
  options.shortTest = s.shortTest;
  options.vccOff = s.vccOff;
  options.continueRun = s.continueOnFault;
  options.testChannelsOnStart = s.testChannelsOnStart;
  engine::applyProgramOptions(*engine_, options);
}

bool EngineRunControl::startFullTest() {
  return engine_->startFullTest();
}
bool EngineRunControl::startContactTest() {
  return engine_->startContactTest();
}
bool EngineRunControl::continueRun() {
  return engine_->continueRun();
}
bool EngineRunControl::cancel() {
  return engine_->cancel();
}
bool EngineRunControl::running() const {
  return engine_->running();
}
bool EngineRunControl::continueEnabled() const {
  return engine_->continueEnabled;
}
void EngineRunControl::startRealtimeCheck() {
  engine_->startRealtimeCheck();
}
void EngineRunControl::realtimeTick() {
  engine_->realtimeTick();
}
void EngineRunControl::stopRealtimeCheck() {
  engine_->stopRealtimeCheck();
}
bool EngineRunControl::realtimeOn() const {
  return engine_->realtimeOn();
}
void EngineRunControl::togglePower() {
  engine_->togglePower();
}
void EngineRunControl::powerOnCommand() {
  engine_->powerOnCommand();
}
void EngineRunControl::powerOffCommand() {
  engine_->powerOffCommand();
}
bool EngineRunControl::powerIsOn() const {
  return engine_->powerOn;
}

void EngineRunControl::startupCheck(bool testChannels) {
  if (testChannels) {
    engine_->testChannels();
    return;
  }
  if (engine_->link().checkPresence())
    op_->message(tester::withFailureDetail(engine_->link(), app::kNoDevice), Icon::Error);
}

void EngineRunControl::shutdown() {
  engine_->shutdown();
}

}  // namespace qel::gui
