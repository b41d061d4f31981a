// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <array>
#include <optional>

// The speed in km/h as three digit pictures with leading zeros.
class SpeedDigits {
public:
  static constexpr int kHighestShown = 999;
  using Pictures = std::array<QImage, 10>;
  using Places = std::array<int, 3>;

  SpeedDigits(Pictures digits, QImage dash);

  // Hundreds, tens and ones of the speed bounded to 0..999: the camera's odd
  // fields (a negative speed, four-digit nonsense) must not pick a picture
  // that does not exist.
  static Places DigitsOf(int kmh);
  // False when the canvas shows these digits already.
  bool Draw(QImage& canvas, int kmh);
  // "---": a recording without telemetry has no speed to show.
  void DrawNone(QImage& canvas);

private:
  void DrawPlaces(QImage& canvas, const std::array<const QImage*, 3>& pictures) const;

  Pictures m_digits;
  QImage m_dash;
  std::optional<Places> m_shown;
};
