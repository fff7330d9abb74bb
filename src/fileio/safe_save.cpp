#include "fileio/safe_save.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "fileio/input_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace qel::fileio {

namespace fs = std::filesystem;

namespace {

std::string utf8(const fs::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

std::error_code lastError() {
  return {errno, std::generic_category()};
}

// The file a chain of symbolic links ends at; the content goes there and the links stay.
bool followLinks(fs::path p, fs::path& target, std::string& reason) {
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(p, ec);
    if (ec || !fs::is_symlink(st)) {
      target = p;
      return true;
    }
    fs::path next = fs::read_symlink(p, ec);
    if (ec) {
      reason = "не удалось прочитать ссылку " + utf8(p) + ": " + ec.message();
      return false;
    }
    p = next.is_relative() ? p.parent_path() / next : next;
  }
  reason = "слишком длинная цепочка символических ссылок: " + utf8(p);
  return false;
}

std::string refusalOf(const fs::path& target) {
  std::error_code ec;
  const fs::file_status st = fs::status(target, ec);
  if (ec || !fs::exists(st)) return {};
  if (fs::is_directory(st)) return "это папка, а не файл";
  if (!fs::is_regular_file(st)) return "это не обычный файл";
  // The read-only attribute on Windows shows as no write permission at all.
  if ((st.permissions() & fs::perms::owner_write) == fs::perms::none) return "файл защищён от записи";
  return {};
}

// A name no one else uses: the process, the time and a counter.
std::string uniqueToken() {
  static std::atomic<unsigned> counter{0};
  const auto ticks = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
#ifdef _WIN32
  const uint64_t pid = uint64_t(GetCurrentProcessId());
#else
  const uint64_t pid = uint64_t(getpid());
#endif
  const uint64_t mixed = (ticks * 0x9E3779B97F4A7C15ull) ^ (pid << 20) ^ counter.fetch_add(1);
  static const char digits[] = "0123456789abcdefghijklmnopqrstuv";
  std::string out;
  for (int i = 0; i < 10; ++i) out += digits[(mixed >> (5 * i)) & 31];
  return out;
}

// One open file descriptor, closed once.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() { close(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  std::error_code close() {
    if (fd_ < 0) return {};
#ifdef _WIN32
    const int r = ::_close(fd_);
#else
    const int r = ::close(fd_);
#endif
    fd_ = -1;
    return r == 0 ? std::error_code() : lastError();
  }

 private:
  int fd_;
};

int createExclusive(const fs::path& p) {
#ifdef _WIN32
  return ::_wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
#else
  return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
#endif
}

std::error_code writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
#ifdef _WIN32
    const unsigned chunk = unsigned(std::min<size_t>(bytes.size(), 1u << 30));
    const int n = ::_write(fd, bytes.data(), chunk);
#else
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
#endif
    if (n < 0) {
      if (errno == EINTR) continue;
      return lastError();
    }
    bytes.remove_prefix(size_t(n));
  }
  return {};
}

std::error_code flushToDisk(int fd) {
#ifdef _WIN32
  const int r = ::_commit(fd);  // FlushFileBuffers
#else
  const int r = ::fsync(fd);
#endif
  return r == 0 ? std::error_code() : lastError();
}

// The old file's permissions and, where allowed, its owner go to the new one.
void keepMode(int fd, const fs::path& target) {
#ifdef _WIN32
  (void)fd, (void)target;  // only the read-only attribute, and such targets are refused
#else
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0) return;
  if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
    // Only root may hand the file back to another owner; the content matters more than that.
    const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    (void)ignored;
  }
  ::fchmod(fd, old.st_mode & 07777);
#endif
}

std::error_code replace(const fs::path& temp, const fs::path& target) {
#ifdef _WIN32
  if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return {};
  return {int(GetLastError()), std::system_category()};
#else
  return std::rename(temp.c_str(), target.c_str()) == 0 ? std::error_code() : lastError();
#endif
}

// The new name in the folder survives a power cut only once the folder itself is flushed.
void flushFolder(const fs::path& folder) {
#ifndef _WIN32
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // some file systems cannot; the rename itself has been done
  ::close(fd);
#else
  (void)folder;  // MOVEFILE_WRITE_THROUGH has flushed the rename
#endif
}

}  // namespace

std::string saveRefusal(const std::string& path) {
  fs::path target;
  std::string reason;
  if (!followLinks(toPath(path), target, reason)) return reason;
  return refusalOf(target);
}

std::string saveFile(const std::string& path, std::string_view bytes) {
  return saveFileStreamed(path, [bytes](const ChunkWriter& write) {
    return write(bytes) ? std::string() : std::string("write failed");
  });
}

std::string saveFileStreamed(const std::string& path,
                             const std::function<std::string(const ChunkWriter&)>& produce) {
  fs::path target;
  std::string reason;
  if (!followLinks(toPath(path), target, reason)) return reason;
  if (reason = refusalOf(target); !reason.empty()) return utf8(target) + ": " + reason;
  std::error_code ec;
  const bool replacing = fs::exists(target, ec);

  const fs::path folder = target.parent_path();
  const std::string name = utf8(target.filename());
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temp = folder /
           toPath("." + (name.size() <= 120 ? name : std::string("qel")) + "." + uniqueToken() + ".part");
    fd = createExclusive(temp);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0)
    return "не удалось создать временный файл в папке " + utf8(folder.empty() ? fs::path(".") : folder) +
           ": " + lastError().message();

  Descriptor file(fd);
  // The error is taken before the clean-up, whose calls would overwrite it.
  auto fail = [&](const std::string& what, const std::error_code& error) {
    const std::string text = what + ": " + error.message();
    file.close();
    std::error_code ignored;
    fs::remove(temp, ignored);
    return text;
  };
  const std::string written = "не удалось записать " + utf8(target);
  std::error_code writeError;
  const ChunkWriter write = [&](std::string_view chunk) {
    if (!writeError) writeError = writeAll(file.get(), chunk);
    return !writeError;
  };
  const std::string gaveUp = produce(write);
  if (writeError) return fail(written, writeError);
  if (!gaveUp.empty()) {
    file.close();
    std::error_code ignored;
    fs::remove(temp, ignored);
    return gaveUp;
  }
  if (replacing) keepMode(file.get(), target);
  if (const auto e = flushToDisk(file.get())) return fail(written, e);
  if (const auto e = file.close()) return fail(written, e);
  if (const auto e = replace(temp, target)) return fail("не удалось заменить " + utf8(target), e);
  flushFolder(folder);
  return {};
}

}  // namespace qel::fileio
