#include "tester/tester_link.h"

#include <vector>

namespace qel::tester {

namespace {
// The slowest acknowledged command, the tester's memory test, answers well within 4 s.
constexpr int64_t kAckLimitMicros = 4'000'000;
// A block's answers, 65,528 bytes, arrive well within 10 s even on a slow link.
constexpr int64_t kAnswerLimitMicros = 10'000'000;
// Stray bytes are read away for at most about a second.
constexpr int kDrainPolls = 1000;
// Answers stream in while the program reads them: a short step keeps it close behind the stream
// instead of up to 10 ms behind at the end of every block. The limits stay the same.
constexpr int kWaitStepMs = 1;
// A short command is acknowledged, and a short answer read, within microseconds of reaching the
// tester on a fast link, so the first millisecond of a wait is polled finely: a whole step for
// every command of every block adds up to a noticeable share of a long run.
constexpr int kFinePolls = 20;
constexpr int64_t kFineStepMicros = 50;
}  // namespace

TesterLink::TesterLink(Port& port, Clock& clock) : port_(port), clock_(clock) {}

bool TesterLink::sendCode(uint8_t code) {
  return port_.writeBytes(&code, 1);
}

bool TesterLink::waitAck() {
  uint8_t answer = 0xFF;  // neither acknowledgement until one is read
  const int64_t deadline = clock_.nowMicros() + kAckLimitMicros;
  for (int polls = 0;; ++polls) {
    uint32_t waiting = 0;
    const bool queryFailed = port_.queuedBytes(waiting);
    if (queryFailed || waiting == 0) {
      if (stopRequested()) return true;
    } else {
      uint32_t got = 0;
      if (!port_.readBytes(1, &answer, got) && got == 1) {
        if (answer == kAckDone) return false;
        if (answer == kAckFailed) return true;
      }
      // Anything else is not an acknowledgement; keep waiting.
    }
    if (clock_.nowMicros() >= deadline) return true;
    pause(polls, kFinePolls);
  }
}

void TesterLink::pause(int polls, int finePolls) {
  if (polls < finePolls)
    clock_.sleepMicros(kFineStepMicros);
  else
    clock_.sleepMs(kWaitStepMs);
}

bool TesterLink::readExact(uint8_t* buffer, int n, bool midStream) {
  const int64_t deadline = clock_.nowMicros() + kAnswerLimitMicros;
  // Within a long answer more is on its way: a step at a time reads it in large pieces.
  const int finePolls = midStream ? 0 : kFinePolls;
  for (int polls = 0;; ++polls) {
    uint32_t waiting = 0;
    if (!port_.queuedBytes(waiting) && waiting >= uint32_t(n)) {
      uint32_t got = 0;
      const bool failed = port_.readBytes(n, buffer, got);
      return failed || got != uint32_t(n);
    }
    if (stopRequested() || clock_.nowMicros() >= deadline) return true;
    pause(polls, finePolls);
  }
}

bool TesterLink::readWordPair(uint16_t& first, uint16_t& second, bool midStream) {
  uint8_t b[4];
  if (readExact(b, 4, midStream)) return true;
  first = uint16_t(b[0] * 256 + b[1]);
  second = uint16_t(b[2] * 256 + b[3]);
  return false;
}

bool TesterLink::writeWordPair(uint16_t first, uint16_t second) {
  const uint8_t b[4] = {uint8_t(first >> 8), uint8_t(first), uint8_t(second >> 8), uint8_t(second)};
  return port_.writeBytes(b, 4);
}

void TesterLink::drainInput() {
  uint32_t last = 1;
  std::vector<uint8_t> scratch;
  for (int poll = 0; poll < kDrainPolls && last != 0; ++poll) {
    clock_.sleepMs(1);
    last = 0;
    if (!port_.queuedBytes(last) && last > 0) {
      scratch.resize(last);
      uint32_t got = 0;
      port_.readBytes(int(last), scratch.data(), got);
    }
  }
}

bool TesterLink::checkPresence() {
  try {
    const bool failed = port_.openPort();
    if (!failed) drainInput();
    return failed;
  } catch (...) {
    return true;
  }
}

}  // namespace qel::tester
