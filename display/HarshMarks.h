// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/HarshMomentDetector.h"

#include <QImage>
#include <QString>
#include <optional>
#include <vector>

// The harsh moments found from the G-sensor as amber triangles at the
// timeline's foot, at the same place an event mark of that second would
// take, so that a moment the camera marked as well shows both, told apart.
// Like the event marks, they are put on the canvas once per clearing.
class HarshMarks {
public:
  using Moment = HarshMomentDetector::Moment;

  void SetMoments(std::vector<Moment> moments);
  // True when drawn: not since the last Forget().
  bool Draw(QImage& canvas, int duration);
  // The timeline was cleared: the next Draw puts the marks back.
  void Forget() { m_drawnFor = 0; }

  // The centre x of a moment's mark on a timeline of `duration` seconds;
  // none for a moment past the end.
  static std::optional<int> CentreOf(const Moment& moment, int duration);
  // The moment whose mark covers x, the first of several; none elsewhere.
  std::optional<Moment> At(int x, int duration) const;
  // "Harsh braking, peak -1.21 g": the tooltip's text.
  static QString Describe(const Moment& moment);

  const std::vector<Moment>& Moments() const { return m_moments; }

private:
  std::vector<Moment> m_moments;
  int m_drawnFor = 0; // the duration whose marks are on the canvas, 0 for none
};
