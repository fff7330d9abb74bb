#include "engine/parameters.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/test_engine.h"

namespace qel::engine {

namespace {

// The frame carries each input threshold in one byte.
constexpr int32_t kMaxThresholdCode = 255;
// Level codes run 0..256 on the calibrated scale of the dialog.
constexpr int32_t kLevelCodes = 256;
constexpr int kMinPowerUpDelay = 100;  // ms
constexpr int kMaxCycleTime = 8;       // microseconds
constexpr int kCalibrationLow = 6;
constexpr int kCalibrationHigh = 254;

std::string trim(const std::string& s) {
  const size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t") - a + 1);
}

bool allDigits(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Volts as a number; the comma and the point both separate the fraction.
std::optional<double> volts(const std::string& text) {
  std::string s = trim(text);
  std::replace(s.begin(), s.end(), ',', '.');
  if (s.empty()) return std::nullopt;
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<int> integer(const std::string& text) {
  const std::string s = trim(text);
  int v = 0;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return v;
}

// Hundredths as "I,FF".
std::string hundredthsText(int64_t h) {
  const bool negative = h < 0;
  const int64_t a = negative ? -h : h;
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld,%02lld", negative ? "-" : "", static_cast<long long>(a / 100),
                static_cast<long long>(a % 100));
  return text;
}

}  // namespace

std::string thresholdText(int32_t code) {
  return hundredthsText(int64_t(code) * 500 / 256).substr(0, 4);
}

std::optional<int32_t> thresholdCode(const std::string& text) {
  std::string s = trim(text);
  std::replace(s.begin(), s.end(), ',', '.');
  const size_t dot = s.find('.');
  std::string whole = s.substr(0, dot);
  std::string fraction = dot == std::string::npos ? std::string() : s.substr(dot + 1);
  if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction) || whole.size() > 6)
    return std::nullopt;
  fraction = fraction.substr(0, 2);
  if (fraction.size() == 1) fraction += "0";
  const int64_t i = whole.empty() ? 0 : std::stoll(whole);
  const int64_t f = fraction.empty() ? 0 : std::stoll(fraction);
  return int32_t((i * 25500 + f * 255 + 510) / 500);
}

std::optional<std::string> typedThresholdLimit(const std::string& text, bool logicOne) {
  const auto v = volts(text);
  if (!v) return std::nullopt;
  const double scaled = std::trunc((*v + 0.01) * 51.2);
  if (!logicOne && scaled > 128) return std::string("2,50");
  if (logicOne && scaled > 256) return std::string("5,00");
  return std::nullopt;
}

double levelVolts(int32_t code, double u0) {
  return code * (u0 + 5) / 256 - u0;
}

std::string levelText(int32_t code, double u0) {
  // The small bias keeps values such as 4.7299999 from losing a hundredth to the binary form.
  const double v = levelVolts(code, u0);
  return hundredthsText(int64_t(std::trunc(v * 100 + (v < 0 ? -1e-9 : 1e-9))));
}

std::optional<int32_t> levelCode(const std::string& text, double u0, bool supply) {
  const auto v = volts(text);
  if (!v) return std::nullopt;
  const double code = std::trunc((*v + (supply ? 0.02 : 0.01) + u0) / ((u0 + 5) / 256));
  if (code < -1e6 || code > 1e6) return std::nullopt;
  return int32_t(code);
}

ParameterFields showParameters(const TestDescription& test, const Settings& settings) {
  ParameterFields f;
  f.logicOne = thresholdText((test.levels >> 8) & 0xFF);
  f.logicZero = thresholdText(test.levels & 0xFF);
  f.minSupply = levelText(settings.levels.minSupply, settings.levels.u0);
  f.maxGround = levelText(settings.levels.maxGround, settings.levels.u0);
  f.powerUpDelay = std::to_string(settings.powerUpDelay);
  f.cycleTime = std::to_string(test.cycleTime);
  return f;
}

bool applyParameters(ParameterFields& fields, double u0, TestDescription& test, Settings& settings,
                     Operator& op) {
  settings.levels.u0 = u0;
  auto one = thresholdCode(fields.logicOne);
  auto zero = one ? thresholdCode(fields.logicZero) : std::nullopt;
  if (!one || !zero) {
    op.message(kBadInputText, Icon::Error);
    return false;
  }
  // The frame carries each threshold in one byte: 5,00 V (256) would arrive as 0.
  // Texts are moved in, not assigned from literals: g++ 12 at -O3 takes that for an overlapping
  // copy (-Wrestrict).
  auto limit = [](int32_t& code, std::string& text) {
    if (code > kMaxThresholdCode) code = kMaxThresholdCode, text = std::string("5");
    if (code < 0) code = 0, text = std::string("0");
  };
  limit(*one, fields.logicOne);
  limit(*zero, fields.logicZero);
  if (*one < *zero) {
    one = zero;
    fields.logicOne = thresholdText(*one);
  }
  test.levels = *zero + *one * 256;
  if (auto c = levelCode(fields.minSupply, u0, true))
    settings.levels.minSupply = std::clamp(*c, 0, kLevelCodes);
  if (auto c = levelCode(fields.maxGround, u0, false))
    settings.levels.maxGround = std::clamp(*c, 0, kLevelCodes);
  const auto delay = integer(fields.powerUpDelay);
  settings.powerUpDelay = delay && *delay >= kMinPowerUpDelay ? *delay : kDefaultPowerUpDelay;
  auto cycle = integer(fields.cycleTime);
  if (!cycle) {
    cycle = kDefaultCycleTime;
    fields.cycleTime = std::to_string(kDefaultCycleTime);
  }
  test.cycleTime = std::clamp(*cycle, 1, kMaxCycleTime);
  return true;
}

void defaultParameters(TestDescription& test, Settings& settings) {
  settings.levels = LevelThresholds{};
  settings.powerUpDelay = kDefaultPowerUpDelay;
  test.levels = kDefaultInputLevels;
  test.cycleTime = kDefaultCycleTime;
}

std::optional<double> calibratedU0(int level) {
  // Below, the pin has no contact; above, it sits at the supply: neither tells the scale's zero.
  if (level < kCalibrationLow || level > kCalibrationHigh) return std::nullopt;
  return level * 5.0 / (255 - level);
}

bool autocalibrate(TestEngine& engine, ParameterFields& fields, TestDescription& test, Settings& settings,
                   Operator& op) {
  int pin = 2;
  for (int p = 1; p <= test.pinCount; ++p)
    if (test.pinTypeCodeOf(p) == kGround) {
      pin = p;
      break;
    }
  op.message("Автокалибровка относительно вывода GND (" + std::to_string(pin) + ")", Icon::Information);
  double u0 = settings.levels.u0;
  if (const auto calibrated = calibratedU0(engine.readPinLevel(pin))) u0 = *calibrated;
  return applyParameters(fields, u0, test, settings, op);
}

bool applyProgramOptions(TestEngine& engine, const ProgramOptions& options) {
  const bool reexpand = options.shortTest != engine.settings().options.shortTest;
  engine.settings().options = options;
  engine.continueEnabled = options.continueRun;
  return reexpand;
}

}  // namespace qel::engine
