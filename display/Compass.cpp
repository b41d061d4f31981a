// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/Compass.h"

#include "display/AntialiasedLine.h"
#include "display/CanvasPixels.h"
#include "display/PictureCopy.h"

#include <cmath>
#include <cstdlib>

namespace {

const QPoint kDialPlace(438, 654);
const QSize kDialCopySize(200, 200);
constexpr float kCentreX = 497.5f;
constexpr float kCentreY = 715.0f;
constexpr float kOuterRadius = 25.0f;
constexpr float kInnerRadius = 5.0f;
constexpr int kRandomRange = 29;

} // namespace

Compass::Compass(QImage dial) : m_dial(std::move(dial)) {}

bool Compass::DrawCompass(QImage& canvas, int course) {
  const int r = std::rand() % kRandomRange;
  const int step = course / kDegreesPerStep;
  const bool restore = step != m_nLastCompassValue;
  m_nLastCompassValue = r;
  if (restore && step == m_nCleanStep)
    return false;
  if (restore)
    CopyPicture(canvas, kDialPlace, m_dial, kDialCopySize);
  CanvasPixels pixels(canvas);
  DrawNeedle(pixels, step, m_clrNeedle, kBackgroundFromCanvas);
  m_nCleanStep = restore ? step : kNoStepDrawn;
  return true;
}

void Compass::DrawDial(QImage& canvas) {
  CopyPicture(canvas, kDialPlace, m_dial, kDialCopySize);
  m_nLastCompassValue = kNoStepDrawn;
  m_nCleanStep = kNoStepDrawn;
}

float Compass::CourseToAngle(int step) {
  float angle = 90.0f - float(kDegreesPerStep) * float(step);
  if (angle < 0.0f)
    angle += 360.0f;
  return angle;
}

void Compass::DrawNeedle(CanvasPixels& surface, int step, uint32_t colour, uint32_t background) {
  const float theta = CourseToAngle(step) * 3.1415926535f / 180.0f;
  const float c = std::cos(theta);
  const float s = std::sin(theta);
  const auto coordinate = [](float value) { return int(int16_t(value)); };
  const int x1 = coordinate(kCentreX + kOuterRadius * c);
  const int y1 = coordinate(kCentreY - kOuterRadius * s);
  const int x2 = coordinate(kCentreX + kInnerRadius * c);
  const int y2 = coordinate(kCentreY - kInnerRadius * s);
  DrawAntialiasedLine(surface, x1, y1, x2, y2, colour, background);
  DrawAntialiasedLine(surface, x1 + 1, y1, x2 + 1, y2, colour, background);
}
