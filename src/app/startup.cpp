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

}  // namespace qel::app
