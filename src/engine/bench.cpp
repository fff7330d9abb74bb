#include "engine/bench.h"

namespace qel::engine {

Bench::Bench() {
  test.resetForStartup();
  test.computeTypeCodes();
  test.loaded = true;
}

bool Bench::beginLoad() {
  if (busy_) return false;
  ready_ = false;
  channelFault_ = false;
  return true;
}

void Bench::endLoad(bool ready) {
  testerNotInitialised_ = true;
  ready_ = ready;
}

}  // namespace qel::engine
