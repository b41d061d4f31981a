// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/SensorGraph.h"

#include "display/GraphFont.h"
#include "display/PictureCopy.h"

#include <QPainter>
#include <algorithm>
#include <utility>

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
// Rows above the texts and below a segment's end that their pixels may reach.
constexpr int kTextMargin = 2;
constexpr int kTextRowsFrom = kTextTop - kTextMargin;
constexpr QRect kTextRows{QPoint(SensorGraph::kPanel.left(), kTextRowsFrom), SensorGraph::kPanel.bottomRight()};
constexpr QRect kTraceRows{SensorGraph::kPanel.topLeft(), QPoint(SensorGraph::kPanel.right(), kTextRowsFrom - 1)};

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

QRect SensorGraph::Step(QImage& canvas, const SensorTriple* values) {
  const QRect changed = values && values->InDisplayRange() ? Draw(canvas, *values) : QRect();
  RestartSweepIfDue();
  return changed;
}

// The panel as if drawn whole: background, texts, then every segment in
// order. In the texts' rows only the segments that reach them are drawn again,
// over the texts; above those rows, where no text lies, the kept traces are
// the picture, copied only where they changed while the canvas holds them.
QRect SensorGraph::Draw(QImage& canvas, const SensorTriple& values) {
  const QRect added = AddSegments(values);
  CopyArea(canvas, m_background, kTextRows);
  {
    QPainter painter(&canvas);
    // Above the texts' rows the kept traces are the picture already.
    painter.setClipRect(kTextRows);
    painter.setFont(GraphFont::Font());
    for (int trace = 0; trace < kTraceCount; ++trace) {
      painter.setPen(kStyles[trace].text);
      painter.drawText(kStyles[trace].textX, m_nBaseline, ValueText(Trace(trace), values));
    }
    DrawSegments(painter, 0, kTextRowsFrom);
  }
  const QRect copied = m_bCanvasCurrent ? added : kTraceRows;
  CopyArea(canvas, m_traces, copied);
  m_bCanvasCurrent = true;
  return kTextRows | copied;
}

// The traces' picture is the canvas's kind, so the texts' metrics are taken
// on it. Returns the part of the trace rows that changed: the new segments'
// columns, a pixel either side, or all of them when the sweep began anew.
QRect SensorGraph::AddSegments(const SensorTriple& values) {
  if (m_traces.isNull())
    m_traces = m_background.copy();
  const bool cleared = std::exchange(m_bTracesCleared, false);
  if (cleared)
    CopyArea(m_traces, m_background, kPanel);
  const int x = kOriginX + kPixelsPerSample * m_nSample + 1;
  for (int trace = 0; trace < kTraceCount; ++trace) {
    const QPoint point(x, TraceY(valueOf(values, Trace(trace))));
    m_ptHist[trace][m_nHistCount] = point;
    m_ptLast[trace] = point;
  }
  ++m_nHistCount;
  QPainter painter(&m_traces);
  painter.setFont(GraphFont::Font());
  m_nBaseline = kTextTop + painter.fontMetrics().ascent();
  DrawSegments(painter, m_nHistCount - 2, kPanel.top());
  if (cleared)
    return kTraceRows;
  if (m_nHistCount < 2)
    return QRect();
  const int from = m_ptHist[kX][m_nHistCount - 2].x();
  return QRect(QPoint(std::min(from, x) - 1, kTraceRows.top()), QPoint(std::max(from, x) + 1, kTraceRows.bottom())) &
         kTraceRows;
}

// Segments from number `first` on, those that reach the rows from `rowsFrom` down.
void SensorGraph::DrawSegments(QPainter& painter, int first, int rowsFrom) const {
  for (int i = first; i + 1 < m_nHistCount; ++i) {
    for (int trace = 0; trace < kTraceCount; ++trace) {
      const QPoint from = m_ptHist[trace][i];
      const QPoint to = m_ptHist[trace][i + 1];
      if (std::max(from.y(), to.y()) + kTextMargin < rowsFrom)
        continue;
      painter.setPen(QPen(kStyles[trace].pen, 1));
      painter.drawLine(from, to);
    }
  }
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
  m_bTracesCleared = true;
}
