// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/SpeedDigits.h"

#include "display/PictureCopy.h"

#include <algorithm>

namespace {

constexpr int kTop = 698;
constexpr int kPlaceLefts[] = {587, 603, 619};
const QSize kDigitCopySize(15, 31);

} // namespace

SpeedDigits::SpeedDigits(Pictures digits) : m_digits(std::move(digits)) {}

SpeedDigits::Places SpeedDigits::DigitsOf(int kmh) {
  const int shown = std::clamp(kmh, 0, kHighestShown);
  return {shown / 100, shown % 100 / 10, shown % 10};
}

void SpeedDigits::Draw(QImage& canvas, int kmh) const {
  const Places places = DigitsOf(kmh);
  for (size_t i = 0; i < places.size(); ++i)
    CopyPicture(canvas, QPoint(kPlaceLefts[i], kTop), m_digits[places[i]], kDigitCopySize);
}
