#include "app/hand_off.h"

#include <charconv>

#include "app/settings.h"

namespace qel::app {

std::string encodeHandOff(const HandOffMessage& m) {
  return std::to_string(m.message) + ' ' + std::to_string(m.wParam) + ' ' + std::to_string(m.lParam) + '\n';
}

std::optional<HandOffMessage> decodeHandOff(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  int values[3] = {};
  const char* at = line.data();
  const char* end = line.data() + line.size();
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      if (at == end || *at != ' ') return std::nullopt;
      ++at;
    }
    const auto [next, ec] = std::from_chars(at, end, values[i]);
    if (ec != std::errc()) return std::nullopt;
    at = next;
  }
  if (at != end) return std::nullopt;
  return HandOffMessage{values[0], values[1], values[2]};
}

std::string receivedPath(SettingsStore& store, Operator& op) {
  std::optional<std::string> path;
  if (store.keyExists(kMainKey)) path = store.readString(kMainKey, kHandOffValue);
  if (!path) {
    op.message(kHandOffReadFailed, Icon::Error);
    return {};
  }
  return *path;
}

bool writeHandOffPath(SettingsStore& store, const std::string& path) {
  return store.createKey(kMainKey) && store.writeString(kMainKey, kHandOffValue, path);
}

std::string siblingProgram(const std::string& dirQel, const Endpoint& endpoint) {
  return dirQel + endpoint.programFile;
}

}  // namespace qel::app
