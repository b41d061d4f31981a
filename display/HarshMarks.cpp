// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/HarshMarks.h"

#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <cstdlib>

namespace {

// The event marks' mapping of seconds to the timeline, and their width.
constexpr int kTimelineWidth = 666;
constexpr int kTimelineLeft = 33;
constexpr int kMarkHalfWidth = 6;
constexpr int kFootY = 609;
constexpr int kApexY = 600;
const QColor kFill(255, 159, 28);
const QColor kOutline(90, 45, 0);

} // namespace

void HarshMarks::SetMoments(std::vector<Moment> moments) {
  m_moments = std::move(moments);
  m_drawnFor = 0;
}

std::optional<int> HarshMarks::CentreOf(const Moment& moment, int duration) {
  if (duration <= 0 || moment.startSecond > duration)
    return std::nullopt;
  const int scale = kTimelineWidth / duration;
  return int(std::floor(moment.startSecond)) * scale + kTimelineLeft + kMarkHalfWidth;
}

bool HarshMarks::Draw(QImage& canvas, int duration) {
  if (duration == m_drawnFor)
    return false;
  QPainter painter(&canvas);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(kOutline);
  painter.setBrush(kFill);
  for (const Moment& moment : m_moments) {
    if (const std::optional<int> centre = CentreOf(moment, duration))
      painter.drawPolygon(QPolygon({QPoint(*centre - kMarkHalfWidth + 1, kFootY),
                                    QPoint(*centre + kMarkHalfWidth - 1, kFootY), QPoint(*centre, kApexY)}));
  }
  m_drawnFor = duration;
  return true;
}

std::optional<HarshMarks::Moment> HarshMarks::At(int x, int duration) const {
  for (const Moment& moment : m_moments) {
    const std::optional<int> centre = CentreOf(moment, duration);
    if (centre && std::abs(x - *centre) <= kMarkHalfWidth)
      return moment;
  }
  return std::nullopt;
}

QString HarshMarks::Describe(const Moment& moment) {
  return QStringLiteral("%1, peak %2 g")
      .arg(QString::fromLatin1(HarshMomentDetector::KindWords(moment.kind)))
      .arg(double(moment.peak), 0, 'f', 2);
}
