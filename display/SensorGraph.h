// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/SensorTriple.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>

// The G-sensor panel: the three values as text and as traces that sweep from
// left to right, 6 pixels per notification, and restart at the left keeping
// each trace's last height.
class SensorGraph {
public:
  enum Trace { kX, kY, kZ, kTraceCount };
  static constexpr int kTracePoints = 95;
  static constexpr QRect kPanel{77, 660, 331, 119};
  static constexpr int kOriginX = 78;
  static constexpr int kPixelsPerSample = 6;
  static constexpr int kCentreY = 712;
  static constexpr int kTopY = 660;
  static constexpr int kSweepEndX = 394;
  static constexpr QPoint kStartPoint{101, 711};

  explicit SensorGraph(QImage background);

  // Draws the panel for one notification when the values are given and all
  // lie within the display range, then restarts the sweep when it is due;
  // the part of the canvas that changed, empty when nothing was drawn.
  QRect Step(QImage& canvas, const SensorTriple* values);
  // Something else was drawn over the panel on the canvas: the next step
  // draws all of it again.
  void ForgetCanvas() { m_bCanvasCurrent = false; }
  // Notifications since the sweep began, counted whether or not drawn.
  void CountSample() { ++m_nSample; }

  // The height of a value: 29 pixels per unit around the centre line,
  // truncated; the centre line for heights above the panel.
  static int TraceY(float value);
  // "X : %.3f" and its kin, with a decimal point whatever the locale.
  static QString ValueText(Trace trace, const SensorTriple& values);

  int HistCount() const { return m_nHistCount; }
  int Sample() const { return m_nSample; }
  QPoint LastPoint(Trace trace) const { return m_ptLast[trace]; }
  QPoint HistPoint(Trace trace, int index) const { return m_ptHist[trace].at(index); }

private:
  QRect Draw(QImage& canvas, const SensorTriple& values);
  QRect AddSegments(const SensorTriple& values);
  void DrawSegments(QPainter& painter, int first, int rowsFrom) const;
  void RestartSweepIfDue();

  QImage m_background;
  // The background with the sweep's traces so far, and no values' text: each
  // notification adds its segments here instead of drawing the sweep again.
  QImage m_traces;
  bool m_bTracesCleared = true;
  // The canvas holds the kept traces above the texts' rows, so that a step
  // copies only the columns it added.
  bool m_bCanvasCurrent = false;
  int m_nBaseline = 0;
  std::array<std::array<QPoint, kTracePoints>, kTraceCount> m_ptHist{};
  std::array<QPoint, kTraceCount> m_ptLast;
  int m_nHistCount = 1;
  int m_nSample = 0;
};
