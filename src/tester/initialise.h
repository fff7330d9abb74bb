#pragma once
// The initialisation sequence every test and diagnostic runs first.

#include <functional>
#include <string>
#include <string_view>

#include "model/level_thresholds.h"
#include "model/test_description.h"
#include "operator/operator.h"
#include "tester/tester_link.h"

namespace qel::tester {

enum class InitOutcome { Ok, PackageRefused, NoLink, ResetFailed, RamFaulty, VerifyFailed };

inline constexpr const char* kNoLinkText = "Нет связи с тестером";
inline constexpr const char* kConnectedText = "Подключение к устройству прошло успешно";
inline constexpr const char* kRamTestFailedText =
    "Произошла ошибка при попытке диагностики ОЗУ. ОЗУ тестера не исправно. Обратитесь к разработчикам.";
inline constexpr const char* kVerifyFailedText = "Неисправное ОЗУ тестера!";
inline constexpr const char* kResetFailedText =
    "Нет сброса тестера, подключите тестер к компьютеру и включите его.";

// The text, and below it what the driver could say about why the port did not open (libftdi can).
std::string withFailureDetail(TesterLink& link, std::string_view text);

// The refusal of a package the channel map has no row for; empty when the package is fine.
std::string packageRefusal(int pinCount);

// The test parameters of a TestDescription for a cycle count.
TestParameters parametersOf(const TestDescription& test, int32_t cycleCount, const LevelThresholds& levels);

// Runs the sequence; messages go to the operator. A refused reset calls raiseError(2) when given
// (the engine's error report), otherwise shows the error 2 text with the warning icon.
InitOutcome initialiseTester(TesterLink& link, Operator& op, const TestDescription& test,
                             const LevelThresholds& levels, const std::function<void(int)>& raiseError = {});

}  // namespace qel::tester
