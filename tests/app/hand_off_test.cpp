#include "app/hand_off.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/settings.h"
#include "app/shared_key_file.h"
#include "recording_operator.h"
#include "temp_files.h"

namespace qel::app {
namespace {

TEST(HandOff, MessagesOnTheWireAndWhoTheyAreFor) {
  EXPECT_EQ(encodeHandOff(handOffFor(kTesterEndpoint)), "1101 777 0\n");
  EXPECT_EQ(decodeHandOff("1100 777 0"), (HandOffMessage{1100, 777, 0}));
  EXPECT_EQ(decodeHandOff("1101 777 0\r"), (HandOffMessage{1101, 777, 0}));
  for (const char* bad :
       {"", "1101 777", "1101  777 0", "1101 777 0 1", "x 777 0", "1101 777 0x", "99999999999 1 1"})
    EXPECT_FALSE(decodeHandOff(bad).has_value()) << bad;
  EXPECT_TRUE(isHandOffFor({1101, 777, 0}, kTesterEndpoint));
  EXPECT_FALSE(isHandOffFor({1101, 778, 0}, kTesterEndpoint));
  EXPECT_FALSE(isHandOffFor({1100, 777, 0}, kTesterEndpoint));
  EXPECT_EQ(siblingProgram("C:\\QEL\\", kEditorEndpoint), "C:\\QEL\\QelEdit.exe");
}

TEST(HandOff, PathThroughTheSharedKey) {
  MemorySettingsStore store;
  testing::RecordingOperator op;
  EXPECT_EQ(receivedPath(store, op), "");
  ASSERT_EQ(op.messages().size(), 1u);
  EXPECT_EQ(op.messages()[0], (testing::RecordingOperator::Message{kHandOffReadFailed, Icon::Error}));
  ASSERT_TRUE(writeHandOffPath(store, "/t/К555ИЕ7.qel"));
  EXPECT_EQ(receivedPath(store, op), "/t/К555ИЕ7.qel");
  store.failWrites = true;
  EXPECT_FALSE(writeHandOffPath(store, "/x"));
}

#ifndef _WIN32
TEST(HandOff, SharedKeyFileKeepsTheOtherValues) {
  EXPECT_EQ(iniQuoted("C:\\a \"b\", c"), "\"C:\\\\a \\\"b\\\", c\"");
  EXPECT_EQ(iniQuoted("@x"), "\"@@x\"");
  testing::TempDir dir;
  setenv("QEL_SETTINGS_DIR", dir.path().c_str(), 1);
  const std::string file = sharedKeyFile(kMainKey);
  EXPECT_EQ(file, dir.file("QEL_Main.ini"));
  ASSERT_EQ(writeSharedString(kMainKey, "FileName", "/a/б.qel"), "");
  EXPECT_EQ(testing::readBytes(file), "[General]\nFileName=\"/a/б.qel\"\n\n");
  std::ofstream(file, std::ios::binary) << "[General]\nDir_QEL=/q/\nFileName=old\n\n[Other]\nFileName=keep\n";
  ASSERT_EQ(writeSharedString(kMainKey, "FileName", "/new"), "");
  EXPECT_EQ(testing::readBytes(file),
            "[General]\nDir_QEL=/q/\nFileName=\"/new\"\n\n[Other]\nFileName=keep\n");
  unsetenv("QEL_SETTINGS_DIR");
}
#endif

}  // namespace
}  // namespace qel::app
