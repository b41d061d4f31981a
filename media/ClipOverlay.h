// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AVFrame;
class ClipSource;

// The telemetry burned into a clip's picture: the date and time on the
// camera's clock, the speed and, when asked, the position, white on a dark
// box in the picture's bottom left corner.
class ClipOverlay {
public:
  enum class Units { kKmh, kMph };
  struct Layout {
    int left = 0; // of the text
    int top = 0;  // of the first line
    int scale = 1;
    int lineHeight = 0;
  };

  ClipOverlay(Units units, bool withPosition) : m_units(units), m_withPosition(withPosition) {}

  // The lines for the picture of `source`'s `position`, which lies
  // `sourceMicroseconds` into that recording.
  std::vector<std::string> Lines(const ClipSource& source, uint32_t position, int64_t sourceMicroseconds) const;
  // Draws `lines` onto an 8-bit planar YUV picture; false for any other
  // picture format.
  static bool Draw(AVFrame& picture, const std::vector<std::string>& lines);
  // Where `lines` lines go on a picture `height` pixels high.
  static Layout LayoutFor(int height, size_t lines);

private:
  std::string DateTime(const ClipSource& source, uint32_t position, int64_t sourceMicroseconds) const;
  std::string Speed(const ClipSource& source, uint32_t position) const;
  std::string Position(const ClipSource& source, uint32_t position) const;

  Units m_units;
  bool m_withPosition;
};
