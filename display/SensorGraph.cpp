// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/SensorGraph.h"

#include "display/GraphFont.h"
#include "display/PictureCopy.h"

#include <QPainter>

namespace {

struct TraceStyle {
  QColor pen;
  QColor text;
  const char* format;
  int textX;
};

// X is the record's second value, Y its first.
const TraceStyle kStyles[SensorGraph::kTraceCount] = {
    {QColor(255, 0, 110), QColor(255, 0, 110), "X : %.3f", 81},
    {QColor(135, 255, 0), QColor(135, 255, 0), "Y : %.3f", 199},
    {QColor(0, 255, 255), QColor(0, 225, 255), "Z : %.3f", 316},
};
constexpr int kTextTop = 755;

float valueOf(const SensorTriple& values, SensorGraph::Trace trace) {
  return trace == SensorGraph::kX ? values.x : trace == SensorGraph::kY ? values.y : values.z;
}

} // namespace

SensorGraph::SensorGraph(QImage background) : m_background(std::move(background)) {
  m_ptLast.fill(kStartPoint);
  for (auto& trace : m_ptHist)
    trace[0] = kStartPoint;
}

int SensorGraph::TraceY(float value) {
  const double y = kCentreY - double(value) * 0.5 * 58.0;
  return y < kTopY ? kCentreY : int(y);
}

QString SensorGraph::ValueText(Trace trace, const SensorTriple& values) {
  return QString::asprintf(kStyles[trace].format, double(valueOf(values, trace)));
}

void SensorGraph::Step(QImage& canvas, const SensorTriple* values) {
  if (values && values->InDisplayRange())
    Draw(canvas, *values);
  RestartSweepIfDue();
}

void SensorGraph::Draw(QImage& canvas, const SensorTriple& values) {
  CopyArea(canvas, m_background, kPanel);
  QPainter painter(&canvas);
  painter.setFont(GraphFont::Font());
  const int baseline = kTextTop + painter.fontMetrics().ascent();
  for (int trace = 0; trace < kTraceCount; ++trace) {
    painter.setPen(kStyles[trace].text);
    painter.drawText(kStyles[trace].textX, baseline, ValueText(Trace(trace), values));
  }
  for (int i = 0; i + 1 < m_nHistCount; ++i) {
    for (int trace = 0; trace < kTraceCount; ++trace) {
      painter.setPen(QPen(kStyles[trace].pen, 1));
      painter.drawLine(m_ptHist[trace][i], m_ptHist[trace][i + 1]);
    }
  }
  const int x = kOriginX + kPixelsPerSample * m_nSample + 1;
  for (int trace = 0; trace < kTraceCount; ++trace) {
    const QPoint point(x, TraceY(valueOf(values, Trace(trace))));
    painter.setPen(QPen(kStyles[trace].pen, 1));
    painter.drawLine(m_ptLast[trace], point);
    m_ptHist[trace][m_nHistCount] = point;
    m_ptLast[trace] = point;
  }
  ++m_nHistCount;
}

// A trace full of points restarts too, whatever its x: the sweep never
// writes past its points.
void SensorGraph::RestartSweepIfDue() {
  const bool due = m_ptLast[kX].x() >= kSweepEndX || m_nSample == 0 || m_nHistCount >= kTracePoints;
  if (!due)
    return;
  m_nSample = 0;
  for (int trace = 0; trace < kTraceCount; ++trace) {
    m_ptLast[trace].setX(kOriginX);
    m_ptHist[trace][0] = m_ptLast[trace];
  }
  m_nHistCount = 1;
}
