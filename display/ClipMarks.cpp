// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/ClipMarks.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The event marks' mapping of seconds to the timeline.
constexpr int kTimelineWidth = 666;
constexpr int kTimelineLeft = 33;
constexpr int kTop = 589;
constexpr int kHeight = 22;
constexpr int kBandHeight = 3;
const QColor kMark(64, 200, 255);

} // namespace

void ClipMarks::Set(std::optional<double> in, std::optional<double> out) {
  m_in = in;
  m_out = out;
  m_drawnFor = 0;
}

int ClipMarks::XOf(double second, int duration) {
  return int(std::floor(second)) * (kTimelineWidth / duration) + kTimelineLeft;
}

bool ClipMarks::Draw(QImage& canvas, int duration) {
  if (duration <= 0 || duration == m_drawnFor || (!m_in && !m_out))
    return false;
  QPainter painter(&canvas);
  const int left = m_in ? XOf(*m_in, duration) : XOf(0, duration);
  const int right = m_out ? XOf(*m_out, duration) : XOf(duration, duration);
  painter.fillRect(QRect(std::min(left, right), kTop, std::abs(right - left) + 1, kBandHeight), kMark);
  for (const std::optional<double>& mark : {m_in, m_out}) {
    if (mark)
      painter.fillRect(QRect(XOf(*mark, duration) - 1, kTop, 2, kHeight), kMark);
  }
  m_drawnFor = duration;
  return true;
}
