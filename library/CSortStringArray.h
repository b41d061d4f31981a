// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The found recordings' full paths, ordered by name without regard to letter
// case; names that compare equal keep the order in which they were found.
class CSortStringArray : public QStringList {
public:
  // A stable sort: the order the pairwise SwapIfGreater passes would reach,
  // in n log n steps instead of n squared.
  void SortAscending();
  // Swaps elements `index` and `index` + 1 when the first compares greater;
  // true when it swapped.
  bool SwapIfGreater(qsizetype index);

  // Negative, 0 or positive, as if both texts were lower-cased.
  static int CompareNoCase(const QString& left, const QString& right);
};
