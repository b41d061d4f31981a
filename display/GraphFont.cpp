// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/GraphFont.h"

#include "platform/Diagnostics.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

const char* const kWantedFamilies[] = {"Times New Roman", "Liberation Serif"};

} // namespace

const QFont& GraphFont::Font() {
  static const QFont font = Resolve();
  return font;
}

QString GraphFont::InstalledFamily() {
  const QStringList installed = QFontDatabase::families();
  for (const char* family : kWantedFamilies)
    if (installed.contains(QLatin1String(family), Qt::CaseInsensitive))
      return QLatin1String(family);
  return QString();
}

QFont GraphFont::Resolve() {
  QString family = InstalledFamily();
  QFont font(family.isEmpty() ? QStringLiteral("serif") : family);
  font.setStyleHint(QFont::Serif);
  font.setStyleStrategy(QFont::NoFontMerging);
  font.setBold(true);
  if (family.isEmpty())
    platform::diagnostic("graph font: neither %s nor %s installed, using %s\n", kWantedFamilies[0], kWantedFamilies[1],
                         qPrintable(QFontInfo(font).family()));
  // The largest pixel size whose cell fits, then widened to the average width.
  int pixelSize = kCellHeight;
  for (; pixelSize > 1; --pixelSize) {
    font.setPixelSize(pixelSize);
    if (std::ceil(QFontMetricsF(font).height()) <= kCellHeight)
      break;
  }
  const qreal naturalWidth = QFontMetricsF(font).averageCharWidth();
  if (naturalWidth > 0)
    font.setStretch(std::clamp(int(std::lround(100.0 * kAverageWidth / naturalWidth)), 1, 4000));
  return font;
}
