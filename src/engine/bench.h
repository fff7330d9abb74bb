#pragma once
// What is on the bench: the test, what the runs found in it, and the flags of the runs.
//
// The TestEngine is the one writer of the run flags; a load announces itself through beginLoad
// and endLoad. While busy() a run's worker owns the test: it writes the result diagram, the error
// list and the contact records only under dataMutex, and whoever reads them meanwhile takes it too.

#include <atomic>
#include <mutex>

#include "model/contact_record.h"
#include "model/test_description.h"
#include "views/comparison.h"

namespace qel::engine {

class Bench {
 public:
  // The empty 32-pin test of start-up.
  Bench();
  Bench(const Bench&) = delete;
  Bench& operator=(const Bench&) = delete;

  TestDescription test;
  views::ErrorList errors;
  ContactRecords contacts;  // entry k belongs to pin k+1
  mutable std::mutex dataMutex;

  // A run, or the channel self-test, holds the tester and the test.
  bool busy() const { return busy_; }
  // A test is on the bench that runs and saves may use (or the picture of a failed channel
  // self-test, which the channel fault keeps from running).
  bool testReady() const { return ready_; }
  // The tester has not been given this test's parameters since it was reset or the test changed.
  bool testerNotInitialised() const { return testerNotInitialised_; }
  // The channel self-test found faulty channels; nothing runs until a test is loaded.
  bool channelFault() const { return channelFault_; }
  // The run in progress, or the last one, captures with nothing driven and no comparison.
  bool analyserMode() const { return analyserMode_; }
  // The result diagram holds an analyser capture, so nothing in it counts as a mismatch.
  bool analyserView() const { return analyserView_; }

  // A load is about to replace the test; false while a run owns it.
  bool beginLoad();
  // The load read a test in; ready when it is fit to run (no read error).
  void endLoad(bool ready);

 private:
  friend class TestEngine;
  friend struct BenchStaging;  // tests stage a situation through it

  std::atomic<bool> busy_{false};
  std::atomic<bool> ready_{false};
  std::atomic<bool> testerNotInitialised_{true};
  std::atomic<bool> channelFault_{false};
  std::atomic<bool> analyserMode_{false};
  std::atomic<bool> analyserView_{false};
};

}  // namespace qel::engine
