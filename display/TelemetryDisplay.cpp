// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TelemetryDisplay.h"

#include "display/PictureCopy.h"

#include <QPainter>

namespace {

const QRect kGraphPanelArea(75, 659, 345, 108);

} // namespace

TelemetryDisplay::TelemetryDisplay(const Pictures& pictures)
    : m_speed(pictures.digits, pictures.speedDash), m_compass(pictures.compassDial), m_graph(pictures.background),
      m_marks(pictures.eventMark), m_background(pictures.background), m_graphPanel(pictures.graphPanel),
      m_timeline(pictures.timeline) {}

void TelemetryDisplay::ClearGraphAndTimeline(QImage& canvas) {
  CopyPicture(canvas, kGraphPanelArea.topLeft(), m_graphPanel, kGraphPanelArea.size());
  m_graph.ForgetCanvas();
  ClearTimeline(canvas);
}

void TelemetryDisplay::ClearTimeline(QImage& canvas) {
  CopyPicture(canvas, QPoint(19, 589), m_timeline, QSize(640, 22));
  m_marks.Forget();
  m_harsh.Forget();
  m_clip.Forget();
}

std::optional<HarshMarks::Moment> TelemetryDisplay::HarshMomentAt(const QPoint& point, int duration) const {
  if (!kTimelineRect.contains(point))
    return std::nullopt;
  return m_harsh.At(point.x(), duration);
}

// In the skin's own face, size and colour, so km/h looks as it always did.
void TelemetryDisplay::DrawSpeedUnit(QImage& canvas) const {
  CopyArea(canvas, m_background, kSpeedUnitRect);
  QPainter painter(&canvas);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(10);
  painter.setFont(font);
  painter.setPen(QColor(0x5e, 0x6d, 0x85));
  painter.drawText(kSpeedUnitRect, Qt::AlignCenter, QString::fromLatin1(SpeedUnit::Label(m_unit)));
}

void TelemetryDisplay::DrawNoTelemetry(QImage& canvas) {
  m_speed.DrawNone(canvas);
  m_compass.DrawDial(canvas);
  CopyPicture(canvas, kGraphPanelArea.topLeft(), m_graphPanel, kGraphPanelArea.size());
  m_graph.ForgetCanvas();
  QPainter painter(&canvas);
  // A note, not a value: the window's own face rather than the values' serif.
  QFont font;
  font.setPixelSize(13);
  painter.setFont(font);
  painter.setPen(QColor(214, 222, 235));
  painter.drawText(kGraphPanelArea, Qt::AlignCenter, NoTelemetryText());
}
