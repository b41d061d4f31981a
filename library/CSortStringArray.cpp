// SPDX-License-Identifier: GPL-3.0-or-later
#include "library/CSortStringArray.h"

#include <algorithm>
#include <utility>

void CSortStringArray::SortAscending() {
  if (size() < 2)
    return;
  std::stable_sort(begin(), end(),
                   [](const QString& left, const QString& right) { return CompareNoCase(left, right) < 0; });
}

bool CSortStringArray::SwapIfGreater(qsizetype index) {
  if (CompareNoCase(at(index), at(index + 1)) <= 0)
    return false;
  swapItemsAt(index, index + 1);
  return true;
}

int CSortStringArray::CompareNoCase(const QString& left, const QString& right) {
  return QString::compare(left, right, Qt::CaseInsensitive);
}
