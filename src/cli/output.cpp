#include "cli/output.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "fileio/safe_save.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#ifndef QEL_VERSION
#define QEL_VERSION "unknown"
#endif

namespace qel::cli {

namespace {

// Standard output as it was before the words for people were moved off it.
std::FILE* gData = nullptr;

int terminalFd(std::FILE* f) {
#if defined(_WIN32)
  return _fileno(f);
#else
  return fileno(f);
#endif
}

}  // namespace

const char* toolVersion() {
  return QEL_VERSION;
}

void setUpConsole() {
#if defined(_WIN32)
  // Russian texts are UTF-8 inside; the console shows them when told so. Colour needs the
  // console's escape-sequence mode, which older consoles lack: then colourWanted() says no.
  SetConsoleOutputCP(CP_UTF8);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  if (out != INVALID_HANDLE_VALUE && GetConsoleMode(out, &mode))
    SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
  // The Windows C library has no line buffering; without it, lines to the two streams interleave
  // out of order.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
#else
  std::setvbuf(stdout, nullptr, _IOLBF, BUFSIZ);
#endif
}

std::vector<std::string> utf8Arguments(int argc, char** argv) {
#if defined(_WIN32)
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide != nullptr) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) {
      const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
      std::string arg(size_t(bytes > 0 ? bytes : 1), '\0');
      if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), bytes, nullptr, nullptr);
      arg.resize(arg.size() - 1);  // the terminating zero
      out.push_back(std::move(arg));
    }
    LocalFree(wide);
    return out;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

bool colourWanted() {
  // The NO_COLOR convention: any non-empty value switches colour off.
  const char* noColour = std::getenv("NO_COLOR");
  if (noColour != nullptr && *noColour != 0) return false;
#if defined(_WIN32)
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  DWORD mode = 0;
  return _isatty(terminalFd(stdout)) != 0 && GetConsoleMode(out, &mode) &&
         (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
#else
  return isatty(terminalFd(stdout)) != 0;
#endif
}

std::optional<std::string> routeStandardOutput(std::initializer_list<const std::string*> outputs) {
  int claims = 0;
  for (const std::string* path : outputs)
    if (path != nullptr && *path == "-") ++claims;
  if (claims > 1) return "only one output can go to standard output ('-')";
  if (claims == 0 || gData != nullptr) return std::nullopt;
  std::fflush(stdout);
#if defined(_WIN32)
  const int kept = _dup(_fileno(stdout));
  gData = kept >= 0 ? _fdopen(kept, "wb") : nullptr;
  if (gData != nullptr) _setmode(kept, _O_BINARY);
  _dup2(_fileno(stderr), _fileno(stdout));
#else
  const int kept = dup(fileno(stdout));
  gData = kept >= 0 ? fdopen(kept, "wb") : nullptr;
  dup2(fileno(stderr), fileno(stdout));
#endif
  if (gData == nullptr) return "standard output cannot be written";
  return std::nullopt;
}

std::string writeOutput(const std::string& path, const std::string& bytes) {
  if (path != "-") return fileio::saveFile(path, bytes);
  std::FILE* out = gData != nullptr ? gData : stdout;
  if (std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fflush(out) != 0)
    return "standard output cannot be written";
  return {};
}

std::string writeOutputStreamed(
    const std::string& path,
    const std::function<std::string(const std::function<bool(std::string_view)>&)>& produce) {
  if (path != "-") return fileio::saveFileStreamed(path, produce);
  std::FILE* out = gData != nullptr ? gData : stdout;
  const std::string stopped = produce([out](std::string_view chunk) {
    return std::fwrite(chunk.data(), 1, chunk.size(), out) == chunk.size();
  });
  if (std::ferror(out) || std::fflush(out) != 0) return "standard output cannot be written";
  return stopped;
}

std::string toolName() {
  return std::string("qel ") + toolVersion();
}

std::string utcNow() {
  const std::time_t now = std::time(nullptr);
  char text[32] = "";
  if (const std::tm* utc = std::gmtime(&now)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", utc);
  return text;
}

nlohmann::ordered_json stampedReport(const nlohmann::ordered_json& report) {
  nlohmann::ordered_json out;
  out["tool"] = "qel";
  out["toolVersion"] = toolVersion();
  out["schemaVersion"] = kReportSchemaVersion;
  for (const auto& [key, value] : report.items()) out[key] = value;
  return out;
}

bool writeReport(const std::string& path, const nlohmann::ordered_json& report) {
  const std::string error = writeOutput(path, stampedReport(report).dump(2) + "\n");
  if (!error.empty()) {
    std::fprintf(stderr, "qel: the report '%s' was not written: %s\n", path.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace qel::cli
