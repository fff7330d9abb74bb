#pragma once
// What a run reports about itself, so that whoever shows it decides its own pages and output
// from these instead of looking into the run's state.

namespace qel {

enum class RunKind {
  Contact,      // "Тест Контактов"
  Full,         // "Полный тест": the contact stage, then the blocks and the comparison
  Continue,     // "Продолжить": the blocks without the contact stage
  Analyser,     // a capture with nothing driven and no comparison
  ChannelTest,  // the channel self-test; the test on the bench becomes its picture when it fails
};

enum class RunOutcome {
  None,          // nothing ran yet, or the run is still going
  Finished,      // contact test passed, full test ran to its end (comparison included), channels sound
  NotStarted,    // refused: busy, real-time checking, channel fault, no test shown
  InitFailed,    // no tester, reset refused, tester RAM faulty
  ContactFault,  // no clip contact or no supply
  ErrorRaised,   // a numbered error report (see RunEnd::error)
  DataError,     // a block's answers were not obtained
  Cancelled,
  ChannelFault,  // the channel self-test found faulty channels
  SupplyNotOff,  // the run did its work, but the tester did not confirm the supply off at its end
};

struct RunEnd {
  RunKind kind = RunKind::Full;
  RunOutcome outcome = RunOutcome::None;
  int error = 0;  // the number of the error report, when outcome is ErrorRaised
  bool operator==(const RunEnd&) const = default;
};

}  // namespace qel
