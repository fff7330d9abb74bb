#pragma once
// The logic of the dialogs "Параметры тестирования" and "Настройки программы": conversions
// between codes and volts, and what "ОК", "По Умолчанию" and "Автокалибровка" store.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/settings.h"
#include "model/test_description.h"
#include "operator/operator.h"

namespace qel::engine {

class TestEngine;

inline constexpr const char* kBadInputText = "Неверный ввод данных";
inline constexpr const char* kContinueWarning =
    "Разработчики не рекомендуют использовать этот параметр без особой необходимости";

// Input thresholds: volts = code x 5 / 256, two decimals truncated, comma separated ("2,01").
std::string thresholdText(int32_t code);
// "2,5", "0.80", "3": nullopt when not a number of volts.
std::optional<int32_t> thresholdCode(const std::string& text);
// While typing: the text that replaces one above the limit (2,50 for logic zero, 5,00 for logic
// one), or nullopt when it may stay.
std::optional<std::string> typedThresholdLimit(const std::string& text, bool logicOne);

// Level codes (MinPVCC, MaxPGND) on the calibrated scale: volts = code x (U0 + 5) / 256 - U0.
double levelVolts(int32_t code, double u0);
std::string levelText(int32_t code, double u0);
// Code of entered volts; supply adds 0.02 V before truncating, ground 0.01 V.
std::optional<int32_t> levelCode(const std::string& text, double u0, bool supply);

// The fields of "Параметры тестирования" as text.
struct ParameterFields {
  std::string logicOne, logicZero;   // volts
  std::string minSupply, maxGround;  // volts on the U0 scale
  std::string powerUpDelay;          // ms
  std::string cycleTime;             // "1".."8"
};

// The fields shown for the present values.
ParameterFields showParameters(const TestDescription& test, const Settings& settings);

// "ОК": stores what parses into test and settings (u0 is the dialog's, kept as it is). Rewrites
// the threshold fields it corrected. On an unparsable threshold shows "Неверный ввод данных" and
// stores nothing. Returns false then. The caller initialises the tester afterwards.
bool applyParameters(ParameterFields& fields, double u0, TestDescription& test, Settings& settings,
                     Operator& op);

// "По Умолчанию".
void defaultParameters(TestDescription& test, Settings& settings);

// "Автокалибровка": reads the first GND pin (pin 2 when there is none), derives U0 from a
// level of 6..254, then converts the fields as entered with it and acts as "ОК".
bool autocalibrate(TestEngine& engine, ParameterFields& fields, TestDescription& test, Settings& settings,
                   Operator& op);
// U0 of a ground pin's level; nullopt outside 6..254.
std::optional<double> calibratedU0(int level);

// "Настройки программы" "&OK": stores the options and enables "Продолжить" by "Continue".
// Returns true when a loaded RAM test must be expanded again ("ShortTest" changed).
bool applyProgramOptions(TestEngine& engine, const ProgramOptions& options);

}  // namespace qel::engine
