#include "app/startup.h"

namespace qel::app {

namespace {
std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
}  // namespace

std::string helpFilePath(const std::string& programPath) {
  return folderOf(programPath) + "ZIREDOVOZI.HLP";
}

std::string chmFilePath(const std::string& programPath) {
  const auto slash = programPath.find_last_of("/\\");
  const auto dot = programPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? programPath.substr(0, dot) : programPath) + ".chm";
}

std::vector<std::string> userGuidePaths(const std::string& programPath) {
  const std::string dir = folderOf(programPath);
  return {dir + "doc/user-guide.html", dir + "../share/doc/qeltest/user-guide.html"};
}

std::string helpToOpen(HelpCommand command, const std::string& programPath,
                       const std::function<bool(const std::string&)>& exists) {
  const std::string classic =
      command == HelpCommand::F1 ? helpFilePath(programPath) : chmFilePath(programPath);
  if (exists(classic)) return classic;
  for (const auto& guide : userGuidePaths(programPath))
    if (exists(guide)) return guide;
  return {};
}

}  // namespace qel::app
