// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

// Converts dialog-template units to pixels with the template font's base units
// (average character width and height), so that controls keep the proportions
// they were laid out with.
class DialogUnits {
public:
  constexpr DialogUnits(int baseWidth, int baseHeight) : m_baseWidth(baseWidth), m_baseHeight(baseHeight) {}

  constexpr int toPixelsX(int units) const { return units * m_baseWidth / 4; }
  constexpr int toPixelsY(int units) const { return units * m_baseHeight / 8; }
  QRect toPixels(int x, int y, int width, int height) const {
    return QRect(toPixelsX(x), toPixelsY(y), toPixelsX(width), toPixelsY(height));
  }

private:
  int m_baseWidth;
  int m_baseHeight;
};

// Base units of the two template fonts at 96 dpi.
inline constexpr DialogUnits kMainTemplateUnits{6, 12}; // 9 point sans serif
inline constexpr DialogUnits kShellDialogUnits{6, 13};  // 8 point shell dialog font
