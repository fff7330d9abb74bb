#include "app/hand_off_client.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace qel::app {

#ifdef _WIN32

std::string endpointAddress(const Endpoint& endpoint) {
  return std::string("\\\\.\\pipe\\") + endpoint.name;
}

namespace {
HANDLE openPipe(const Endpoint& endpoint) {
  return CreateFileA(endpointAddress(endpoint).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}
}  // namespace

bool endpointAnswers(const Endpoint& endpoint) {
  return WaitNamedPipeA(endpointAddress(endpoint).c_str(), 0) || GetLastError() == ERROR_SEM_TIMEOUT;
}

std::string postHandOff(const Endpoint& to, const HandOffMessage& message) {
  HANDLE pipe = openPipe(to);
  if (pipe == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PIPE_BUSY &&
      WaitNamedPipeA(endpointAddress(to).c_str(), 1000))
    pipe = openPipe(to);
  if (pipe == INVALID_HANDLE_VALUE) return "no program listens at " + endpointAddress(to);
  const std::string bytes = encodeHandOff(message);
  DWORD written = 0;
  const bool ok =
      WriteFile(pipe, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
  FlushFileBuffers(pipe);
  CloseHandle(pipe);
  return ok ? std::string() : "the message could not be written to " + endpointAddress(to);
}

#else

std::string endpointAddress(const Endpoint& endpoint) {
  // Where a local server of that name listens (the toolkit's temporary folder).
  std::string folder = "/tmp";
  if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) folder = tmp;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder + "/" + endpoint.name;
}

namespace {

// A connected socket, or -1 with why set.
int connectTo(const Endpoint& endpoint, std::string& why) {
  const std::string address = endpointAddress(endpoint);
  sockaddr_un where{};
  where.sun_family = AF_UNIX;
  if (address.size() >= sizeof where.sun_path) {
    why = "the endpoint's path is too long: " + address;
    return -1;
  }
  std::memcpy(where.sun_path, address.c_str(), address.size() + 1);
  const int s = socket(AF_UNIX, SOCK_STREAM, 0);
  if (s < 0) {
    why = std::strerror(errno);
    return -1;
  }
  if (connect(s, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
    why = "no program listens at " + address;
    close(s);
    return -1;
  }
  return s;
}

}  // namespace

bool endpointAnswers(const Endpoint& endpoint) {
  std::string why;
  const int s = connectTo(endpoint, why);
  if (s < 0) return false;
  close(s);
  return true;
}

std::string postHandOff(const Endpoint& to, const HandOffMessage& message) {
  std::string why;
  const int s = connectTo(to, why);
  if (s < 0) return why;
  const std::string bytes = encodeHandOff(message);
  size_t sent = 0;
  while (sent < bytes.size()) {
#ifdef MSG_NOSIGNAL
    const auto n = send(s, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
#else
    const auto n = send(s, bytes.data() + sent, bytes.size() - sent, 0);
#endif
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      why = "the message could not be written to " + endpointAddress(to) + ": " + std::strerror(errno);
      break;
    }
    sent += size_t(n);
  }
  close(s);
  return why;
}

#endif

}  // namespace qel::app
