// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/SpeedDigits.h"

#include "display/PictureCopy.h"

#include <algorithm>

namespace {

constexpr int kTop = 698;
constexpr int kPlaceLefts[] = {587, 603, 619};
const QSize kDigitCopySize(15, 31);

} // namespace

SpeedDigits::SpeedDigits(Pictures digits, QImage dash) : m_digits(std::move(digits)), m_dash(std::move(dash)) {}

SpeedDigits::Places SpeedDigits::DigitsOf(int kmh) {
  const int shown = std::clamp(kmh, 0, kHighestShown);
  return {shown / 100, shown % 100 / 10, shown % 10};
}

bool SpeedDigits::Draw(QImage& canvas, int kmh) {
  const Places places = DigitsOf(kmh);
  if (m_shown == places)
    return false;
  DrawPlaces(canvas, {&m_digits[places[0]], &m_digits[places[1]], &m_digits[places[2]]});
  m_shown = places;
  return true;
}

void SpeedDigits::DrawNone(QImage& canvas) {
  DrawPlaces(canvas, {&m_dash, &m_dash, &m_dash});
  m_shown.reset();
}

void SpeedDigits::DrawPlaces(QImage& canvas, const std::array<const QImage*, 3>& pictures) const {
  for (size_t i = 0; i < pictures.size(); ++i)
    CopyPicture(canvas, QPoint(kPlaceLefts[i], kTop), *pictures[i], kDigitCopySize);
}
