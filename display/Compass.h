// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <cstdint>

class CanvasPixels;

// The compass on the canvas: a dial with a two-pixel anti-aliased needle
// turned in 6-degree steps.
class Compass {
public:
  static constexpr int kDegreesPerStep = 6;
  static constexpr int kNoStepDrawn = 255;

  explicit Compass(QImage dial);

  // Restores the dial unless the step matches the value remembered last
  // time, then draws the needle for the course in degrees. What is
  // remembered is a random number below 29, so the dial is restored before
  // nearly every draw. False when the canvas holds that very picture already:
  // the same step's needle on a freshly restored dial.
  bool DrawCompass(QImage& canvas, int course);
  // The dial without a needle: no course is known.
  void DrawDial(QImage& canvas);

  int LastCompassValue() const { return m_nLastCompassValue; }

  // 90 degrees (up) for step 0, counter-clockwise in degrees, 0 to 360.
  static float CourseToAngle(int step);
  static void DrawNeedle(CanvasPixels& surface, int step, uint32_t colour, uint32_t background);

private:
  QImage m_dial;
  int m_nLastCompassValue = kNoStepDrawn;
  // The step whose needle alone is on the dial; kNoStepDrawn after a needle
  // drawn over another.
  int m_nCleanStep = kNoStepDrawn;
  uint32_t m_clrNeedle = 0;
};
