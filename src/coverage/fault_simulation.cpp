#include "coverage/fault_simulation.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/stimulus.h"
#include "model/contact_record.h"
#include "tester/protocol.h"
#include "views/cycle_comparison.h"
#include "virtual/block_run.h"
#include "virtual/board.h"
#include "virtual/chip_model.h"

namespace qel::coverage {

// What one worker writes: its own copy of the test to hold the results, and the comparison over it.
class FaultSimulator::Lane {
 public:
  explicit Lane(const FaultSimulator& s)
      : s_(s), test_(s.test_), comparison_(test_), codes_(size_t(std::max(s.test_.pinCount, 0)) * kSlice) {}

  int run(const std::string& fault, std::string& error) {
    virt::BoardConfig config = s_.board_;
    if (!fault.empty())
      if (auto e = virt::applySpec(config, fault)) {
        error = *e;
        return -1;
      }
    const auto board = virt::Board::create(config, error);
    if (!board) return -1;
    const int pins = test_.pinCount;
    for (int n = 0; n < s_.blockCount_; ++n) {
      const std::vector<uint8_t>& rows = s_.rowsOf(n, own_);
      const int first = int(n) * kBlock + 1;
      const int cycles = std::min(test_.cycleCount - first + 1, kBlock);
      // The engine switches the supply on before every block; the board keeps it on between them
      // unless something fights the tester's drivers, which a fault inside the chip cannot.
      board->setPower(true);
      // Compared a slice at a time, so a fault found early costs no more than its cycles.
      for (int done = 0; done < cycles; done += kSlice) {
        const int slice = std::min(kSlice, cycles - done);
        virt::runBlockOnBoard(*board, pins, rows.data() + size_t(done) * size_t(pins), slice, codes_.data());
        test_.setResultCodes(first + done, slice, codes_.data());
        for (int c = first + done; c < first + done + slice; ++c)
          if (comparison_.compare(c).any()) return c;
      }
    }
    return 0;
  }

 private:
  static constexpr int kBlock = tester::kMaxBlockCycles;
  static constexpr int kSlice = 256;
  const FaultSimulator& s_;
  TestDescription test_;
  views::CycleComparison comparison_;
  std::vector<uint8_t> codes_;
  std::vector<uint8_t> own_;  // a block derived here, past those the simulator keeps
};

FaultSimulator::FaultSimulator(const TestDescription& test, virt::BoardConfig board, size_t keptBytes)
    : test_(test), board_(std::move(board)) {
  // A model file is read once, not once per fault; when it cannot be, every board says why.
  if (!board_.model && !board_.modelFile.empty()) {
    std::string error;
    board_.model = virt::loadChipModel(board_.modelFile, error);
  }
  // The stimulus is the same for every fault: derived once, from contacts as a good board gives them.
  resetContactRecords(contacts_, test);
  blockCount_ =
      int((int64_t(std::max(test.cycleCount, 0)) + tester::kMaxBlockCycles - 1) / tester::kMaxBlockCycles);
  const size_t blockBytes = size_t(std::max(test.pinCount, 0)) * tester::kMaxBlockCycles;
  for (int n = 0; n < blockCount_ && (size_t(n) + 1) * blockBytes <= keptBytes; ++n) {
    blocks_.emplace_back();
    engine::deriveStimulus(test, contacts_, blocks_.back(), n, true);
  }
}

const std::vector<uint8_t>& FaultSimulator::rowsOf(int block, std::vector<uint8_t>& own) const {
  if (size_t(block) < blocks_.size()) return blocks_[size_t(block)];
  engine::deriveStimulus(test_, contacts_, own, block, true);
  return own;
}

int FaultSimulator::firstError(const std::string& fault, std::string& error) const {
  Lane lane(*this);
  return lane.run(fault, error);
}

std::vector<FaultOutcome> FaultSimulator::grade(const std::vector<std::string>& faults,
                                                const std::function<void(int, int)>& progress,
                                                const std::atomic<bool>* stop, int threads) const {
  std::vector<FaultOutcome> out(faults.size());
  std::vector<bool> done(faults.size());
  std::atomic<size_t> next{0};
  std::mutex mutex;
  int finished = 0;
  auto work = [&] {
    Lane lane(*this);
    for (size_t i; (i = next++) < faults.size();) {
      if (stop != nullptr && stop->load()) return;
      FaultOutcome& o = out[i];
      o.fault = faults[i];
      const int cycle = lane.run(o.fault, o.error);
      o.detected = cycle > 0;
      o.firstCycle = std::max(cycle, 0);
      std::lock_guard lock(mutex);
      done[i] = true;
      if (progress) progress(++finished, int(faults.size()));
    }
  };
  if (threads <= 0) threads = int(std::max(1u, std::thread::hardware_concurrency()));
  threads = std::min(threads, int(std::max<size_t>(faults.size(), 1)));
  std::vector<std::thread> workers;
  for (int t = 1; t < threads; ++t) workers.emplace_back(work);
  work();
  for (auto& w : workers) w.join();
  std::vector<FaultOutcome> kept;
  for (size_t i = 0; i < out.size(); ++i)
    if (done[i]) kept.push_back(std::move(out[i]));
  return kept;
}

}  // namespace qel::coverage
