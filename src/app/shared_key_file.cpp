#include "app/shared_key_file.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fileio/input_file.h"
#include "fileio/safe_save.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qel::app {

std::string iniQuoted(const std::string& value) {
  std::string out = "\"";
  // A leading "@" would be taken for a typed value.
  if (!value.empty() && value.front() == '@') out += '@';
  for (char c : value) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out + '"';
}

#ifdef _WIN32

std::string sharedKeyFile(const std::string&) {
  return {};
}

std::string writeSharedString(const std::string& key, const std::string& name, const std::string& value) {
  auto wide = [](const std::string& s) {
    std::wstring w(size_t(MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), int(w.size()));
    return w;
  };
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wide(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h,
                      nullptr) != ERROR_SUCCESS)
    return "the registry key HKEY_CURRENT_USER\\" + key + " cannot be opened";
  const std::wstring v = wide(value);
  const LONG r = RegSetValueExW(h, wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.c_str()),
                                DWORD((v.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return r == ERROR_SUCCESS ? std::string() : "the registry value " + name + " cannot be written";
}

#else

std::string sharedKeyFile(const std::string& key) {
  std::string folder;
  if (const char* d = std::getenv("QEL_SETTINGS_DIR"); d && *d)
    folder = d;
  else if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
    folder = x;
  else if (const char* home = std::getenv("HOME"); home && *home)
    folder = std::string(home) + "/.config";
  else
    return {};
  std::string rest = key.rfind("Software\\", 0) == 0 ? key.substr(9) : key;
  for (char& c : rest)
    if (c == '\\') c = '/';
  return folder + "/" + rest + ".ini";
}

std::string writeSharedString(const std::string& key, const std::string& name, const std::string& value) {
  const std::string path = sharedKeyFile(key);
  if (path.empty()) return "no settings folder: neither QEL_SETTINGS_DIR, XDG_CONFIG_HOME nor HOME is set";
  std::string old, reason;
  const auto check = fileio::checkInputFile(path, 1 << 20);
  if (check.ok()) {
    if (!fileio::readWholeFile(path, 1 << 20, old, reason)) return reason;
  } else if (check.status != fileio::InputStatus::Missing) {
    return check.reason;
  }
  // Keys outside any section belong to [General].
  std::vector<std::string> lines;
  for (size_t at = 0; at < old.size();) {
    auto end = old.find('\n', at);
    if (end == std::string::npos) end = old.size();
    lines.push_back(old.substr(at, end - at));
    at = end + 1;
  }
  const std::string entry = name + "=" + iniQuoted(value);
  std::string section = "General";
  long general = -1;
  bool done = false;
  for (size_t i = 0; i < lines.size() && !done; ++i) {
    const auto& l = lines[i];
    if (!l.empty() && l.front() == '[') {
      section = l.substr(1, l.find(']') == std::string::npos ? std::string::npos : l.find(']') - 1);
      if (section == "General") general = long(i);
      continue;
    }
    if (section == "General" && l.rfind(name + "=", 0) == 0) {
      lines[i] = entry;
      done = true;
    }
  }
  if (!done) {
    if (general >= 0)
      lines.insert(lines.begin() + general + 1, entry);
    else
      lines.insert(lines.begin(), {"[General]", entry, ""});
  }
  std::string out;
  for (const auto& l : lines) out += l + "\n";
  std::error_code ec;
  std::filesystem::create_directories(fileio::toPath(path).parent_path(), ec);
  return fileio::saveFile(path, out);
}

#endif

}  // namespace qel::app
