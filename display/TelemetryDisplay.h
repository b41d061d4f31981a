// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "display/ClipMarks.h"
#include "display/Compass.h"
#include "display/EventMarks.h"
#include "display/HarshMarks.h"
#include "display/SensorGraph.h"
#include "display/SpeedDigits.h"
#include "telemetry/SpeedUnit.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <optional>
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
  static constexpr QRect kSpeedUnitRect{586, 731, 50, 13};

  explicit TelemetryDisplay(const Pictures& pictures);

  // The camera's km/h, shown in the chosen unit. Each drawing step here is
  // true when it changed the canvas.
  bool DrawSpeed(QImage& canvas, int kmh) { return m_speed.Draw(canvas, SpeedUnit::FromKmh(kmh, m_unit)); }
  void SetSpeedUnit(SpeedUnit::Unit unit) { m_unit = unit; }
  // The unit's name under the digits, over the skin's "km/h".
  void DrawSpeedUnit(QImage& canvas) const;
  SpeedUnit::Unit Unit() const { return m_unit; }
  bool DrawCompass(QImage& canvas, int course) { return m_compass.DrawCompass(canvas, course); }
  // The sensor values, or null when the engine has none yet; the part of the
  // panel drawn, empty when none was.
  QRect StepGraph(QImage& canvas, const SensorTriple* values) { return m_graph.Step(canvas, values); }
  void CountSample() { m_graph.CountSample(); }
  // The open recording's event notes and their base time "hhmmss".
  void SetEventNotes(const std::vector<std::string>& notes, const std::string& baseTime) {
    m_marks.SetNotes(notes, baseTime);
  }
  bool DrawEventMarks(QImage& canvas, int duration) { return m_marks.Draw(canvas, duration); }
  // The open recording's harsh moments, drawn apart from the event marks.
  void SetHarshMoments(std::vector<HarshMarks::Moment> moments) { m_harsh.SetMoments(std::move(moments)); }
  bool DrawHarshMarks(QImage& canvas, int duration) { return m_harsh.Draw(canvas, duration); }
  // The harsh moment whose mark lies under a window point, for its tooltip
  // (HarshMarks::Describe); none off the timeline.
  std::optional<HarshMarks::Moment> HarshMomentAt(const QPoint& point, int duration) const;
  // The empty graph panel and timeline, as before a recording.
  void ClearGraphAndTimeline(QImage& canvas);
  // The timeline alone, its marks put back by their next Draw.
  void ClearTimeline(QImage& canvas);
  // A recording without telemetry: "---" for the speed, a dial without a
  // needle and a word in the empty graph panel, so nothing left from the last
  // recording passes for its values.
  void DrawNoTelemetry(QImage& canvas);
  static QString NoTelemetryText() { return QStringLiteral("No telemetry in this recording"); }

  const SensorGraph& Graph() const { return m_graph; }
  const Compass& CompassDial() const { return m_compass; }
  const EventMarks& Marks() const { return m_marks; }
  const HarshMarks& Harsh() const { return m_harsh; }
  ClipMarks& Clip() { return m_clip; }

private:
  SpeedDigits m_speed;
  Compass m_compass;
  SensorGraph m_graph;
  EventMarks m_marks;
  HarshMarks m_harsh;
  ClipMarks m_clip;
  SpeedUnit::Unit m_unit = SpeedUnit::Unit::kKmh;
  QImage m_background;
  QImage m_graphPanel;
  QImage m_timeline;
};
