#pragma once
// Time as the link sees it. Tests and the benchmark use ManualClock so that the 4 s and 10 s
// limits and the 500 ms settle delay pass without waiting.

#include <cstdint>
#include <string>

namespace qel::tester {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void sleepMs(int ms) = 0;
  // A clock that cannot sleep for less rounds up to whole milliseconds.
  virtual void sleepMicros(int64_t us) { sleepMs(int((us + 999) / 1000)); }
  virtual int64_t nowMicros() const = 0;
  // "HH:MM:SS" of the wall clock, for log lines.
  virtual std::string timeOfDay() const = 0;
};

class SystemClock : public Clock {
 public:
  void sleepMs(int ms) override;
  void sleepMicros(int64_t us) override;
  int64_t nowMicros() const override;
  std::string timeOfDay() const override;

 private:
  mutable int64_t cachedSecond_ = -1;
  mutable std::string cachedText_;
};

// Advances only when slept on (or told to); records how long was slept in total.
class ManualClock : public Clock {
 public:
  void sleepMs(int ms) override { sleepMicros(int64_t(ms) * 1000); }
  void sleepMicros(int64_t us) override {
    now_ += us;
    slept_ += us;
  }
  int64_t nowMicros() const override { return now_; }
  std::string timeOfDay() const override;
  int64_t sleptMs() const { return slept_ / 1000; }
  int64_t sleptMicros() const { return slept_; }

 private:
  int64_t now_ = 0;
  int64_t slept_ = 0;  // microseconds
};

}  // namespace qel::tester
