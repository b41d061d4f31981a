// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TelemetryDisplay.h"

#include "display/PictureCopy.h"

TelemetryDisplay::TelemetryDisplay(const Pictures& pictures)
    : m_speed(pictures.digits), m_compass(pictures.compassDial), m_graph(pictures.background),
      m_marks(pictures.eventMark), m_graphPanel(pictures.graphPanel), m_timeline(pictures.timeline) {}

void TelemetryDisplay::ClearGraphAndTimeline(QImage& canvas) {
  CopyPicture(canvas, QPoint(75, 659), m_graphPanel, QSize(345, 108));
  CopyPicture(canvas, QPoint(19, 589), m_timeline, QSize(640, 22));
  m_marks.Forget();
}
