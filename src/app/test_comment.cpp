#include "app/test_comment.h"

#include "fileio/input_file.h"
#include "fileio/safe_save.h"
#include "text/codepage.h"

namespace qel::app {

namespace {
// A comment is a few lines typed by hand; anything this large is not one.
constexpr std::uintmax_t kMaxCommentBytes = 16 << 20;
}  // namespace

std::string commentFilePath(const std::string& testPath) {
  // Only the file name counts: a dot in a folder name must not put the comment in "ttxt".
  const auto slash = testPath.find_last_of("/\\");
  const auto dot = testPath.find('.', slash == std::string::npos ? 0 : slash + 1);
  if (dot != std::string::npos && testPath.size() - dot - 1 >= 3)
    return testPath.substr(0, testPath.size() - 3) + "txt";
  return testPath + "txt";
}

std::optional<std::string> readComment(const std::string& testPath) {
  std::string bytes, reason;
  if (!fileio::readWholeFile(commentFilePath(testPath), kMaxCommentBytes, bytes, reason)) return std::nullopt;
  std::string text = text::cp1251ToUtf8(bytes);
  std::string out;
  out.reserve(text.size());
  for (char c : text)
    if (c != '\r') out += c;
  return out;
}

std::string saveComment(const std::string& testPath, const std::string& text) {
  if (text.empty()) return {};
  std::string bytes;
  for (char c : text::utf8ToCp1251(text)) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return fileio::saveFile(commentFilePath(testPath), bytes);
}

}  // namespace qel::app
