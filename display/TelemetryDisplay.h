// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/Compass.h"
#include "display/EventMarks.h"
#include "display/SensorGraph.h"
#include "display/SpeedDigits.h"

#include <QImage>
#include <QRect>
#include <string>
#include <vector>

// Everything the window draws on its canvas while a recording plays: speed
// digits, compass, G-sensor graph and event marks. The window calls the steps
// in its own order and invalidates the rectangles named here.
class TelemetryDisplay {
public:
  // The skin's pictures the display copies from; the background is the
  // clean canvas-sized skin.
  struct Pictures {
    QImage background;
    QImage compassDial;
    QImage graphPanel;
    QImage timeline;
    QImage eventMark;
    SpeedDigits::Pictures digits;
    QImage speedDash;
  };

  static constexpr QRect kSpeedRect{582, 694, 58, 36};
  static constexpr QRect kCompassRect{450, 650, 130, 120};
  static constexpr QRect kGraphRect{77, 660, 331, 119};
  static constexpr QRect kTimelineRect{18, 590, 592, 20};

  explicit TelemetryDisplay(const Pictures& pictures);

  void DrawSpeed(QImage& canvas, int kmh) const { m_speed.Draw(canvas, kmh); }
  void DrawCompass(QImage& canvas, int course) { m_compass.DrawCompass(canvas, course); }
  // The sensor values, or null when the engine has none yet.
  void StepGraph(QImage& canvas, const SensorTriple* values) { m_graph.Step(canvas, values); }
  void CountSample() { m_graph.CountSample(); }
  // The open recording's event notes and their base time "hhmmss".
  void SetEventNotes(const std::vector<std::string>& notes, const std::string& baseTime) {
    m_marks.SetNotes(notes, baseTime);
  }
  void DrawEventMarks(QImage& canvas, int duration) { m_marks.Draw(canvas, duration); }
  // The empty graph panel and timeline, as before a recording.
  void ClearGraphAndTimeline(QImage& canvas);
  // A recording without telemetry: "---" for the speed, a dial without a
  // needle and a word in the empty graph panel, so nothing left from the last
  // recording passes for its values.
  void DrawNoTelemetry(QImage& canvas);
  static QString NoTelemetryText() { return QStringLiteral("No telemetry in this recording"); }

  const SensorGraph& Graph() const { return m_graph; }
  const Compass& CompassDial() const { return m_compass; }
  const EventMarks& Marks() const { return m_marks; }

private:
  SpeedDigits m_speed;
  Compass m_compass;
  SensorGraph m_graph;
  EventMarks m_marks;
  QImage m_graphPanel;
  QImage m_timeline;
};
