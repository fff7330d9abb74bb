#pragma once
// The parts of start-up and of the help commands that do not need a window.

#include <functional>
#include <string>
#include <vector>

namespace qel::app {

inline constexpr const char* kApplicationTitle = "Тестер QEL";
inline constexpr const char* kMainCaption = "Внутрисхемный тестер цифровых микросхем";
inline constexpr const char* kNoDevice = "Устройство не подключено";
inline constexpr const char* kCannotLoadLibrary = "Не могу загрузить библиотеку: ";

// F1: "ZIREDOVOZI.HLP" in the program's folder.
std::string helpFilePath(const std::string& programPath);
// "Справка": the program's own path with ".chm" in place of its extension.
std::string chmFilePath(const std::string& programPath);

// The user guide shipped with the program: beside it in doc/ (the build tree, a Windows folder),
// then where an installation puts documentation.
std::vector<std::string> userGuidePaths(const std::string& programPath);
inline constexpr const char* kHelpMissing = "Файл справки не найден: ";

enum class HelpCommand { F1, Contents };
// The file a help command opens: the classic help file where it sits in the program's folder,
// else the user guide. Empty when neither exists; the caller names the guide in its message.
std::string helpToOpen(HelpCommand command, const std::string& programPath,
                       const std::function<bool(const std::string&)>& exists);

enum class StartCheck { ChannelSelfTest, PresenceCheck };
// After the windows are made: the channel self-test when the setting asks for it, else the
// presence check with "Устройство не подключено" when the tester does not answer.
constexpr StartCheck startCheck(bool testChannelsOnStart) {
  return testChannelsOnStart ? StartCheck::ChannelSelfTest : StartCheck::PresenceCheck;
}

}  // namespace qel::app
