#include "tester/clock.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace qel::tester {

namespace {
std::string formatSeconds(int64_t secondsOfDay) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", int(secondsOfDay / 3600 % 24),
                int(secondsOfDay / 60 % 60), int(secondsOfDay % 60));
  return text;
}
}  // namespace

void SystemClock::sleepMs(int ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SystemClock::sleepMicros(int64_t us) {
  if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
}

int64_t SystemClock::nowMicros() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string SystemClock::timeOfDay() const {
  // Formatting local time costs more than a block's answer read; once a second is enough.
  const std::time_t t = std::time(nullptr);
  if (int64_t(t) != cachedSecond_) {
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    cachedSecond_ = int64_t(t);
    cachedText_ = formatSeconds(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
  }
  return cachedText_;
}

std::string ManualClock::timeOfDay() const {
  return formatSeconds(now_ / 1'000'000);
}

}  // namespace qel::tester
