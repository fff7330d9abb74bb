#pragma once
// Stages what a test needs and no command of the engine would produce on its own: a run holding
// the bench, an initialised tester, a channel fault.

#include "engine/bench.h"

namespace qel::engine {

struct BenchStaging {
  static void busy(Bench& bench, bool on) { bench.busy_ = on; }
  static void testerInitialised(Bench& bench) { bench.testerNotInitialised_ = false; }
  static void channelFault(Bench& bench) { bench.channelFault_ = true; }
};

}  // namespace qel::engine
