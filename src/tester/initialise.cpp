#include "tester/initialise.h"

#include <string>

namespace qel::tester {

std::string withFailureDetail(TesterLink& link, std::string_view text) {
  const std::string detail = link.port().failureDetail();
  return detail.empty() ? std::string(text) : std::string(text) + "\n" + detail;
}

std::string packageRefusal(int pinCount) {
  if (hasChannelRow(pinCount)) return {};
  return "Корпус с " + std::to_string(pinCount) +
         " выводами тестер не поддерживает: для него нет таблицы каналов. Тестирование невозможно.";
}

TestParameters parametersOf(const TestDescription& test, int32_t cycleCount, const LevelThresholds& levels) {
  TestParameters p;
  p.levels = test.levels;
  p.cycleTime = test.cycleTime;
  p.pinCount = test.pinCount;
  p.pinTypeCodes = std::span<const int32_t>(test.typeCode.data(), test.typeCode.size());
  p.cycleCount = cycleCount;
  p.minGround = levels.minGround;
  p.maxGround = levels.maxGround;
  p.minSupply = levels.minSupply;
  return p;
}

InitOutcome initialiseTester(TesterLink& link, Operator& op, const TestDescription& test,
                             const LevelThresholds& levels, const std::function<void(int)>& raiseError) {
  // Nothing is sent for a package whose pins the tester could not tell apart.
  if (const std::string refusal = packageRefusal(test.pinCount); !refusal.empty()) {
    op.message(refusal, Icon::Error);
    return InitOutcome::PackageRefused;
  }
  if (link.checkPresence()) {
    op.message(withFailureDetail(link, kNoLinkText), Icon::Error);
    return InitOutcome::NoLink;
  }
  op.log(kConnectedText);
  op.progressLog(kConnectedText);
  if (link.resetTester()) {
    if (raiseError)
      raiseError(2);
    else
      op.message(kResetFailedText, Icon::Warning);
    return InitOutcome::ResetFailed;
  }
  if (link.testTesterRam()) {
    op.message(kRamTestFailedText, Icon::Error);
    return InitOutcome::RamFaulty;
  }
  // Its acknowledgement shows up, if it failed, at the verification that follows.
  link.setTestParameters(parametersOf(test, test.cycleCount, levels));
  if (link.verifyTesterRam()) {
    op.message(kVerifyFailedText, Icon::Error);
    return InitOutcome::VerifyFailed;
  }
  return InitOutcome::Ok;
}

}  // namespace qel::tester
