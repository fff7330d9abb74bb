#include <gtest/gtest.h>

#include "views/word_panels.h"

using namespace qel;
using namespace qel::views;

TEST(WordPanels, HeightSteps) {
  EXPECT_EQ(60, enlargeWordPanels(30));
  EXPECT_EQ(90, enlargeWordPanels(60));
  EXPECT_EQ(90, enlargeWordPanels(90));
  EXPECT_EQ(60, shrinkWordPanels(90));
  EXPECT_EQ(30, shrinkWordPanels(60));
  EXPECT_EQ(30, shrinkWordPanels(30));
  EXPECT_EQ(1, visibleWordPanels(30));
  EXPECT_EQ(3, visibleWordPanels(90));
}

TEST(WordPanels, TextsAndDialogChoices) {
  TestDescription t;
  t.resetForStartup();
  t.setCycleCount(4);
  t.dataWordCount = 1;
  t.words[0].name = "A";
  t.words[0].radix = 10;
  const uint8_t levels[] = {1, 0, 1, 1};
  for (int i = 0; i < 4; ++i) {
    t.words[0].pins[size_t(i + 1)] = i + 1;
    t.setLevel(i + 1, 2, levels[i]);
  }
  t.clearResults();
  auto texts = wordPanelTexts(t, 0, 2);
  EXPECT_EQ("13", texts.reference);
  EXPECT_EQ(kUndefined, texts.result);
  EXPECT_EQ(" ", wordPanelTexts(t, 0, 0).reference);
  EXPECT_TRUE(wordPanelTexts(t, 3, 2).reference.empty());

  for (int r : {2, 8, 10, 16}) EXPECT_EQ(r, radixOfChoice(choiceOfRadix(r)));
  EXPECT_EQ(0, ioChoiceOfKind(7));
  t.pins[3].name = "A2";
  EXPECT_EQ("3 - A2", contactLine(t, 3));
}
