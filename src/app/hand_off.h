#pragma once
// Handing a file between the programs of the family: the sender writes the path as "FileName"
// under the shared key and posts the receiver's message with WParam 777 to its endpoint. Here an
// endpoint is a local socket (a named pipe on Windows) named after the program's message window.

#include <optional>
#include <string>
#include <string_view>

#include "app/settings_store.h"
#include "operator/operator.h"

namespace qel::app {

struct Endpoint {
  const char* name;  // the message window's class name
  const char* caption;
  int message;
  const char* programFile;
};

inline constexpr Endpoint kEditorEndpoint{"TQEL_Edit_MessageForm_NoFileMapping",
                                          "QEL_Edit_MessageForm_NoFileMapping", 1100, "QelEdit.exe"};
inline constexpr Endpoint kTesterEndpoint{"TQEL_Test_MessageForm_NoFileMapping",
                                          "QEL_Test_MessageForm_NoFileMapping", 1101, "QelTest.exe"};
inline constexpr int kHandOffWParam = 777;
inline constexpr const char* kHandOffValue = "FileName";
inline constexpr const char* kHandOffReadFailed = "Ошибка сообщения открытия файла";
inline constexpr const char* kHandOffSendFailed = "Ошибка передачи данных";
// How long a freshly started editor has to open its endpoint.
inline constexpr int kEditorStartMs = 2000;

struct HandOffMessage {
  int message = 0;
  int wParam = 0;
  int lParam = 0;
  bool operator==(const HandOffMessage&) const = default;
};

// One message on the wire: "MESSAGE WPARAM LPARAM\n" in decimal.
std::string encodeHandOff(const HandOffMessage& m);
// One line without its break; nullopt when it is not a message.
std::optional<HandOffMessage> decodeHandOff(std::string_view line);

// The message that asks a program to load the handed file.
constexpr HandOffMessage handOffFor(const Endpoint& to) {
  return {to.message, kHandOffWParam, 0};
}
// Other messages reach the endpoint too and are left alone.
constexpr bool isHandOffFor(const HandOffMessage& m, const Endpoint& own) {
  return m.message == own.message && m.wParam == kHandOffWParam;
}

// The path handed over; "Ошибка сообщения открытия файла" and empty when it cannot be read.
std::string receivedPath(SettingsStore& store, Operator& op);
// Writes the path for the receiver; false when the shared key cannot be written.
bool writeHandOffPath(SettingsStore& store, const std::string& path);

// "Dir_QEL" immediately followed by the program file, as the family installs it.
std::string siblingProgram(const std::string& dirQel, const Endpoint& endpoint);

}  // namespace qel::app
