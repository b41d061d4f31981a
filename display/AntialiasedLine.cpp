// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/AntialiasedLine.h"

#include "display/CanvasPixels.h"

#include <cstdlib>
#include <utility>

namespace {

int channel(uint32_t colour, int shift) { return int((colour >> shift) & 0xFF); }

int blendChannel(int line, int background, double fraction) {
  if (line < background)
    return int(line + fraction * (background - line));
  return int(background + fraction * (line - background));
}

// One pixel of a pair: `darkerLineWeight` applies when the line is darker
// than the pixel's background, its complement otherwise.
void blendPixel(CanvasPixels& surface, int x, int y, uint32_t colour, double lineLuminance, uint32_t background,
                int darkerLineWeight) {
  const uint32_t behind = background == kBackgroundFromCanvas ? surface.Get(x, y) : background;
  const int weight = lineLuminance < Luminance(behind) ? darkerLineWeight : darkerLineWeight ^ 0xFF;
  surface.Set(x, y, Blend(colour, behind, weight));
}

// Steps along the major axis; the minor axis steps when the 16-bit error
// accumulator wraps. `step` moves (x, y) one place and takes whether the
// minor axis steps too.
template <typename Step>
void drawBlendedPairs(CanvasPixels& surface, int major, int minor, uint32_t colour, uint32_t background, Step step,
                      int pairDx, int pairDy) {
  if (major == 1)
    return;
  const double lineLuminance = Luminance(colour);
  const uint16_t adjust = uint16_t((uint32_t(minor) << 16) / uint32_t(major));
  uint16_t accumulator = 0;
  for (int i = 0; i < major - 1; ++i) {
    const uint16_t previous = accumulator;
    accumulator = uint16_t(accumulator + adjust);
    const auto [x, y] = step(accumulator <= previous);
    const int weight = accumulator >> 8;
    blendPixel(surface, x, y, colour, lineLuminance, background, weight);
    blendPixel(surface, x + pairDx, y + pairDy, colour, lineLuminance, background, weight ^ 0xFF);
  }
}

} // namespace

double Luminance(uint32_t colour) {
  return 0.299 * channel(colour, 0) + 0.587 * channel(colour, 8) + 0.114 * channel(colour, 16);
}

uint32_t Blend(uint32_t line, uint32_t background, int weight) {
  const double fraction = weight / 255.0;
  uint32_t result = 0;
  for (int shift : {0, 8, 16})
    result |= uint32_t(blendChannel(channel(line, shift), channel(background, shift), fraction)) << shift;
  return result;
}

void DrawAntialiasedLine(CanvasPixels& surface, int x0, int y0, int x1, int y1, uint32_t colour, uint32_t background) {
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  surface.Set(x0, y0, colour);
  const int xdir = x1 - x0 >= 0 ? 1 : -1;
  const int dx = std::abs(x1 - x0);
  const int dy = y1 - y0;
  int x = x0;
  int y = y0;
  if (dy == 0 || dx == 0 || dx == dy) {
    // Straight lines need no blending.
    const int steps = dy == 0 ? dx : dy;
    for (int i = 0; i < steps; ++i) {
      x += dx == 0 ? 0 : xdir;
      y += dy == 0 ? 0 : 1;
      surface.Set(x, y, colour);
    }
    return;
  }
  if (dx < dy) {
    drawBlendedPairs(
        surface, dy, dx, colour, background,
        [&](bool minorStep) {
          x += minorStep ? xdir : 0;
          ++y;
          return std::pair(x, y);
        },
        xdir, 0);
  } else {
    drawBlendedPairs(
        surface, dx, dy, colour, background,
        [&](bool minorStep) {
          y += minorStep ? 1 : 0;
          x += xdir;
          return std::pair(x, y);
        },
        0, 1);
  }
  surface.Set(x1, y1, colour);
}
