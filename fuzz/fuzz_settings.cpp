// Any values as the settings read back at start: whatever the store holds (a value of the wrong
// type, NaN, an infinity, a number at the edge of its type), reading it and showing it in the
// dialogs and the package view must stay defined.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "app/settings.h"
#include "app/settings_store.h"
#include "engine/parameters.h"
#include "views/package_view.h"

namespace {

// Takes the fuzzer's bytes in order; zeros once they run out.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  template <typename T>
  T take() {
    T v{};
    const size_t n = std::min(sizeof v, size_ - pos_);
    std::memcpy(&v, data_ + pos_, n);
    pos_ += n;
    return v;
  }
  std::string text() {
    const size_t n = std::min<size_t>(take<uint8_t>() % 64, size_ - pos_);
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }

 private:
  const uint8_t* data_;
  size_t size_, pos_ = 0;
};

// The value a name holds: missing, or one of the four types the registry knows.
void store(qel::app::MemorySettingsStore& s, const char* key, const char* name, Bytes& in) {
  switch (in.take<uint8_t>() % 5) {
    case 0:
      return;
    case 1:
      s.keys[key][name] = in.take<int>();
      return;
    case 2:
      s.keys[key][name] = in.take<double>();
      return;
    case 3:
      s.keys[key][name] = bool(in.take<uint8_t>() & 1);
      return;
    default:
      s.keys[key][name] = in.text();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes in(data, size);
  qel::app::MemorySettingsStore s;
  if (in.take<uint8_t>() & 1) {
    for (const char* name :
         {"Hist1", "Hist2", "Hist3", "Hist4", "SH", "SW", "U0", "MinPVCC", "MaxPGND", "MinPGND", "IsOpen",
          "ShortTest", "VCCOff", "Continue", "TestCanalOnStart", "FileSprav"})
      store(s, qel::app::kHistoryKey, name, in);
  }
  for (const char* name : {"Dir_QEL", "Dir_Tests", "Dir_PDF"}) store(s, qel::app::kMainKey, name, in);
  qel::app::Settings settings;
  qel::app::readSettings(s, settings);

  // What the program does with them: the tester's settings, the dialog's fields, the package view.
  qel::engine::Settings tester;
  tester.levels = settings.levels;
  qel::TestDescription test;
  qel::engine::ParameterFields fields = qel::engine::showParameters(test, tester);
  qel::SilentOperator op;
  qel::engine::applyParameters(fields, settings.levels.u0, test, tester, op);
  for (int level : {0, 3, settings.levels.minSupply, settings.levels.maxGround, 255})
    (void)qel::views::voltageText(level, settings.levels.u0, ',');
  qel::app::writeSettings(s, settings);
  return 0;
}
