#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "exports/html_report.h"

namespace qel::exports {
namespace {

// Input pin 1, output pin 2 "Y<1>" expected high, ground 3, supply 4; the output reads low in
// cycle 2.
TestDescription chip() {
  TestDescription t;
  t.pinCount = 4;
  const char* types[] = {"I", "O", "GND", "VCC"};
  for (int p = 1; p <= 4; ++p) t.pins[size_t(p)].typeText = types[p - 1];
  t.pins[2].name = "Y<1>";
  t.chipName = "<script>alert(1)</script>";
  t.rows[1] = {1, 1};
  t.rows[2] = {2, 1};
  t.rows[3] = {3, 1};
  t.rows[4] = {4, 1};
  t.computeTypeCodes();
  t.setCycleCount(10);
  for (int c = 1; c <= 10; ++c) {
    t.setLevel(1, c, kLow);
    t.setLevel(2, c, kHigh);
    t.setResultCode(1, c, kReadLow);
    t.setResultCode(2, c, c == 2 ? kReadLow : kReadHigh);
  }
  return t;
}

std::string report(const TestDescription& t, const RunFacts& f, const DiagramPicture& picture = {}) {
  std::string out;
  EXPECT_EQ(writeHtmlReport(t, f, picture,
                            [&](std::string_view chunk) {
                              out += chunk;
                              return true;
                            }),
            "");
  return out;
}

size_t count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(HtmlReport, ErrorCyclesLinkToExcerptsThatMarkTheDisagreeingCell) {
  const TestDescription t = chip();
  ContactRecords contacts{};
  resetContactRecords(contacts, t);
  contacts[1].mark = "!L";
  RunFacts f;
  f.header = {"today", "qel", "t.qel", ""};
  f.errorCount = 1;
  f.errorCycles = {2};
  f.contacts = &contacts;
  int pictures = 0;
  const std::string html = report(t, f, [&](int from, int to) {
    ++pictures;
    EXPECT_EQ(from, 1);  // clamped at the first cycle
    EXPECT_EQ(to, 5);
    return std::string("<img alt=\"diagram\">");
  });
  EXPECT_EQ(pictures, 1);
  EXPECT_EQ(html.find("<script>"), std::string::npos);  // every text is escaped
  EXPECT_NE(html.find("&lt;script&gt;"), std::string::npos);
  EXPECT_NE(html.find("<a href=\"#c2\">2</a>"), std::string::npos);
  EXPECT_NE(html.find("<h3 id=\"c2\">Такт 2</h3>\n<img alt=\"diagram\">"), std::string::npos);
  EXPECT_NE(html.find("2_Y&lt;1&gt;"), std::string::npos);
  // The one red cell: expected high, read low, in the error cycle's column.
  EXPECT_EQ(count(html, "class=\"cell bad err\">1 / 0<"), 1u);
  EXPECT_EQ(count(html, " bad"), 1u);
  // The package: pin 1 beside pin 4, pin 2 beside pin 3; pin 2's finding in red.
  EXPECT_TRUE(std::regex_search(html, std::regex("<td>1</td><td class=\"chip\">DIP4</td><td>4</td>")));
  EXPECT_NE(html.find("<td class=\"bad\">!L</td><td>O</td><td>Y&lt;1&gt;</td><td>2</td>"), std::string::npos);
}

TEST(HtmlReport, ARunThatStoppedSaysSoAndManyErrorsKeepExcerptsForTheFirst) {
  const TestDescription t = chip();
  RunFacts f;
  f.compared = false;
  std::string html = report(t, f);
  EXPECT_NE(html.find("Сравнение не проводилось"), std::string::npos);
  EXPECT_NE(html.find("Тест контактов не проводился"), std::string::npos);
  EXPECT_EQ(html.find("Ошибок</th>"), std::string::npos);

  f.compared = true;
  for (int c = 1; c <= 200; ++c) f.errorCycles.push_back(c % 10 + 1);
  html = report(t, f);
  EXPECT_EQ(count(html, "<h3 "), kExcerptErrors);
  EXPECT_NE(html.find("для первых 100 тактов"), std::string::npos);
}

}  // namespace
}  // namespace qel::exports
