#include <gtest/gtest.h>

#include <set>

#include "app/save_test.h"
#include "app/startup.h"

using namespace qel::app;

TEST(HelpFiles, ClassicFileWhereItIsElseTheGuide) {
  std::set<std::string> files;
  auto exists = [&](const std::string& p) { return files.count(p) > 0; };
  const std::string program = "/opt/qel/bin/qeltest";
  // Nothing at all: empty, and the caller names the guide it looked for.
  EXPECT_EQ(helpToOpen(HelpCommand::F1, program, exists), "");
  EXPECT_EQ(userGuidePaths(program).front(), "/opt/qel/bin/doc/user-guide.html");

  files.insert("/opt/qel/bin/../share/doc/qeltest/user-guide.html");
  EXPECT_EQ(helpToOpen(HelpCommand::F1, program, exists),
            "/opt/qel/bin/../share/doc/qeltest/user-guide.html");
  files.insert("/opt/qel/bin/doc/user-guide.html");
  EXPECT_EQ(helpToOpen(HelpCommand::Contents, program, exists), "/opt/qel/bin/doc/user-guide.html");

  // The program's own help files win where they are.
  files.insert("/opt/qel/bin/ZIREDOVOZI.HLP");
  files.insert("/opt/qel/bin/qeltest.chm");
  EXPECT_EQ(helpToOpen(HelpCommand::F1, program, exists), "/opt/qel/bin/ZIREDOVOZI.HLP");
  EXPECT_EQ(helpToOpen(HelpCommand::Contents, program, exists), "/opt/qel/bin/qeltest.chm");
  EXPECT_EQ(helpToOpen(HelpCommand::Contents, "C:\\QEL\\qeltest.exe",
                       [](const std::string& p) { return p == "C:\\QEL\\qeltest.chm"; }),
            "C:\\QEL\\qeltest.chm");
}

TEST(SaveAs, NameWithoutExtensionGetsQel) {
  EXPECT_EQ(withTestExtension("/home/t/7400"), "/home/t/7400.qel");
  EXPECT_EQ(withTestExtension("/home/t/7400.vtd"), "/home/t/7400.vtd");
  EXPECT_EQ(withTestExtension("/home/t/7400.qel"), "/home/t/7400.qel");
  EXPECT_EQ(withTestExtension("/home/t.d/7400"), "/home/t.d/7400.qel");
  EXPECT_EQ(withTestExtension("C:\\tests\\7400"), "C:\\tests\\7400.qel");
  EXPECT_EQ(withTestExtension(""), "");
}
