// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/CSortStringArray.h"

#include <gtest/gtest.h>
#include <random>

namespace {

CSortStringArray sorted(const QStringList& found) {
  CSortStringArray array;
  array.append(found);
  array.SortAscending();
  return array;
}

// Guards against an order by raw character codes, and against an unstable
// sort that reorders names differing only in letter case.
TEST(CSortStringArrayTest, OrdersAsIfLowerCasedAndKeepsEqualNamesInFoundOrder) {
  struct Case {
    QStringList found;
    QStringList expected;
  };
  const Case cases[] = {
      {{"b.MP4", "a.mp4"}, {"a.mp4", "b.MP4"}},
      {{"drf0_B.mp4", "drf0_b.mp4", "DRF0_B.MP4"}, {"drf0_B.mp4", "drf0_b.mp4", "DRF0_B.MP4"}},
      {{"drf0_b.mp4", "DRF0_B.mp4"}, {"drf0_b.mp4", "DRF0_B.mp4"}},
      // Upper case sorts before "_" by code, lower case after it.
      {{"drf0A.mp4", "drf0_.mp4"}, {"drf0_.mp4", "drf0A.mp4"}},
      {{}, {}},
      {{"only.mp4"}, {"only.mp4"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(QStringList(sorted(c.found)), c.expected) << c.found.join(' ').toStdString();
}

// The stable sort must give exactly the order of the pairwise swap passes.
TEST(CSortStringArrayTest, SortAgreesWithRepeatedSwapPasses) {
  std::mt19937 random(7);
  const QString letters = QStringLiteral("aAbB_0zZäÄ");
  CSortStringArray found;
  for (int i = 0; i < 300; ++i) {
    QString name;
    for (int j = 0; j < 3; ++j)
      name += letters[int(random() % letters.size())];
    found.append(name);
  }
  CSortStringArray bubbled = found;
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (qsizetype i = 0; i + 1 < bubbled.size(); ++i)
      swapped |= bubbled.SwapIfGreater(i);
  }
  found.SortAscending();
  EXPECT_EQ(QStringList(found), QStringList(bubbled));
}

TEST(CSortStringArrayTest, SwapIfGreaterSwapsOnlyGreater) {
  CSortStringArray array;
  array.append(QStringList({"B", "a", "b"}));
  EXPECT_TRUE(array.SwapIfGreater(0));
  EXPECT_FALSE(array.SwapIfGreater(1));
  EXPECT_EQ(QStringList(array), QStringList({"a", "B", "b"}));
}

} // namespace
