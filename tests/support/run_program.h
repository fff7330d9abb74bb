#pragma once
// Runs a built program through the shell, with its standard output and standard error apart.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

namespace qel::testing {

struct ProgramRun {
  int status = -1;
  std::string out;
  std::string err;
};

// A path the platform's shell takes. Under wine the build's paths are the host's: Z: is its root.
inline std::string shellPath(std::string path) {
#if defined(_WIN32)
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
#endif
  return path;
}

// `program` is a path; `arguments` go to the shell as written.
inline ProgramRun runProgram(const std::string& program, const std::string& arguments) {
  // Test programs run side by side: the name must be this run's alone.
  static std::random_device random;
  const std::filesystem::path errors =
      std::filesystem::temp_directory_path() / ("qel-run-" + std::to_string(random()) + ".err");
  const std::string command = shellPath(program) + " " + arguments + " 2>" + shellPath(errors.string());
  ProgramRun r;
#if defined(_WIN32)
  // The narrow call would pass the command in the ANSI code page: Cyrillic arguments would not
  // arrive.
  const std::u8string utf8(command.begin(), command.end());
  const std::wstring wide = std::filesystem::path(utf8).native();
  FILE* pipe = _wpopen(wide.c_str(), L"rb");
#else
  FILE* pipe = popen(command.c_str(), "r");
#endif
  if (pipe == nullptr) return r;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
#if defined(_WIN32)
  r.status = _pclose(pipe);
#else
  const int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
  std::ifstream in(errors, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  r.err = s.str();
  in.close();
  std::error_code ec;
  std::filesystem::remove(errors, ec);
  return r;
}

}  // namespace qel::testing
