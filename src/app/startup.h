#pragma once
// The parts of start-up and of the help commands that do not need a window.

#include <string>

namespace qel::app {

inline constexpr const char* kApplicationTitle = "Тестер QEL";
inline constexpr const char* kMainCaption = "Внутрисхемный тестер цифровых микросхем";
inline constexpr const char* kNoDevice = "Устройство не подключено";
inline constexpr const char* kCannotLoadLibrary = "Не могу загрузить библиотеку: ";

// F1: "ZIREDOVOZI.HLP" in the program's folder.
std::string helpFilePath(const std::string& programPath);
// "Справка": the program's own path with ".chm" in place of its extension.
std::string chmFilePath(const std::string& programPath);

enum class StartCheck { ChannelSelfTest, PresenceCheck };
// After the windows are made: the channel self-test when the setting asks for it, else the
// presence check with "Устройство не подключено" when the tester does not answer.
constexpr StartCheck startCheck(bool testChannelsOnStart) {
  return testChannelsOnStart ? StartCheck::ChannelSelfTest : StartCheck::PresenceCheck;
}

}  // namespace qel::app
