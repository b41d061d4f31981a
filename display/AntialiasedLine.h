// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class CanvasPixels;

// A background colour of kBackgroundFromCanvas reads each pixel's background
// from the canvas instead of using one given colour.
inline constexpr uint32_t kBackgroundFromCanvas = 0xFFFFFFFFu;

// Luminance of a colour reference, 0.299 R + 0.587 G + 0.114 B.
double Luminance(uint32_t colour);

// Per channel, moves from the darker of the two colours toward the lighter by
// weight / 255 of their difference, truncated.
uint32_t Blend(uint32_t line, uint32_t background, int weight);

// An integer Wu line with 8-bit weights: both end points in the line colour,
// the pixels between as pairs blended with their background. Which pixel of
// a pair gets the heavier share depends on whether the line is darker than
// that pixel's background.
void DrawAntialiasedLine(CanvasPixels& surface, int x0, int y0, int x1, int y1, uint32_t colour, uint32_t background);
