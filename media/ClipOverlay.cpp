// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ClipOverlay.h"

#include "media/ClipSource.h"
#include "media/OverlayFont.h"
#include "media/RecordingStamp.h"
#include "telemetry/RmcFields.h"

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
}

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// A sentence older than this many positions (ten seconds at 30 frames a
// second) is no longer the car's speed.
constexpr uint32_t kLookBackPositions = 300;
constexpr double kKilometresPerMile = 1.609344;
// A font pixel is one picture pixel wide for every this many picture lines,
// two at the least: the text keeps its share of any picture and stays
// readable on small ones.
constexpr int kLinesPerScale = 180;
constexpr int kSmallestScale = 2;

// The newest "$GPRMC" sentence at or before `position`.
bool latestSentence(const ClipSource& source, uint32_t position, RmcFields& fields) {
  const uint32_t oldest = position > kLookBackPositions ? position - kLookBackPositions : 0;
  for (uint32_t at = position + 1; at-- > oldest;) {
    const uint8_t* record = source.GpsRecord(at);
    if (record && fields.ParseSentence(reinterpret_cast<const char*>(record), QIRAUDAT::kGpsRecordBytes))
      return true;
  }
  return false;
}

std::string degrees(float value, char positive, char negative) {
  char text[24];
  std::snprintf(text, sizeof text, "%.5f %c", std::fabs(value), value < 0 ? negative : positive);
  return text;
}

struct Plane {
  uint8_t* data;
  int stride;
  int shiftX;
  int shiftY;
};

// A rectangle of the picture, its right and bottom edges outside it.
struct Box {
  int left;
  int top;
  int right;
  int bottom;
};

// Fills a rectangle of a plane with `value`, or darkens it towards `value`
// when `darken`.
void paint(const Plane& plane, const Box& box, uint8_t value, bool darken) {
  const int bottom = (box.bottom + (1 << plane.shiftY) - 1) >> plane.shiftY;
  const int right = (box.right + (1 << plane.shiftX) - 1) >> plane.shiftX;
  for (int y = box.top >> plane.shiftY; y < bottom; ++y) {
    uint8_t* row = plane.data + ptrdiff_t(y) * plane.stride;
    for (int x = box.left >> plane.shiftX; x < right; ++x)
      row[x] = darken ? uint8_t(value + (row[x] - value) / 4) : value;
  }
}

// One line of text in white, each font pixel a square of the layout's scale,
// kept inside `within`.
void drawLine(const Plane& luma, const Box& within, const ClipOverlay::Layout& layout, const std::string& text, int top,
              uint8_t white) {
  for (size_t at = 0; at < text.size(); ++at) {
    const auto glyph = OverlayFont::Glyph(text[at]);
    const int left = layout.left + int(at) * OverlayFont::kAdvance * layout.scale;
    for (int row = 0; row < OverlayFont::kHeight; ++row)
      for (int column = 0; column < OverlayFont::kWidth; ++column) {
        const Box pixel{left + column * layout.scale, top + row * layout.scale, left + (column + 1) * layout.scale,
                        top + (row + 1) * layout.scale};
        if ((glyph[size_t(row)] >> (OverlayFont::kWidth - 1 - column) & 1) && pixel.right <= within.right &&
            pixel.bottom <= within.bottom)
          paint(luma, pixel, white, false);
      }
  }
}

} // namespace

std::string ClipOverlay::DateTime(const ClipSource& source, uint32_t position, int64_t sourceMicroseconds) const {
  if (const std::optional<int64_t> start = RecordingStamp::Of(source.Path()))
    return RecordingStamp::DateTime(*start + sourceMicroseconds / 1000000);
  // Without a stamp, the satellites' time of day.
  RmcFields fields;
  const std::string time = latestSentence(source, position, fields) ? fields.Time() : "";
  if (time.size() < 6)
    return "";
  return time.substr(0, 2) + ":" + time.substr(2, 2) + ":" + time.substr(4, 2) + " UTC";
}

std::string ClipOverlay::Speed(const ClipSource& source, uint32_t position) const {
  const char* unit = m_units == Units::kKmh ? " km/h" : " mph";
  RmcFields fields;
  if (!latestSentence(source, position, fields) || fields.LatitudeText()[0] == 0)
    return std::string("--") + unit;
  const int kmh = fields.SpeedKmh();
  const int shown = m_units == Units::kKmh ? kmh : int(std::lround(kmh / kKilometresPerMile));
  return std::to_string(shown) + unit;
}

std::string ClipOverlay::Position(const ClipSource& source, uint32_t position) const {
  RmcFields fields;
  if (!latestSentence(source, position, fields) || fields.LatitudeText()[0] == 0 || !fields.PositionInRange())
    return "";
  return degrees(fields.Latitude(), 'N', 'S') + " " + degrees(fields.Longitude(), 'E', 'W');
}

std::vector<std::string> ClipOverlay::Lines(const ClipSource& source, uint32_t position,
                                            int64_t sourceMicroseconds) const {
  std::vector<std::string> lines{DateTime(source, position, sourceMicroseconds), Speed(source, position)};
  if (m_withPosition)
    lines.push_back(Position(source, position));
  return lines;
}

ClipOverlay::Layout ClipOverlay::LayoutFor(int height, size_t lines) {
  Layout layout;
  layout.scale = std::max(kSmallestScale, height / kLinesPerScale);
  layout.lineHeight = (OverlayFont::kHeight + 3) * layout.scale;
  layout.left = 4 * layout.scale;
  layout.top = height - layout.left - int(lines) * layout.lineHeight;
  return layout;
}

bool ClipOverlay::Draw(AVFrame& picture, const std::vector<std::string>& lines) {
  const AVPixFmtDescriptor* format = av_pix_fmt_desc_get(AVPixelFormat(picture.format));
  if (!format || format->nb_components < 3 || !(format->flags & AV_PIX_FMT_FLAG_PLANAR) ||
      (format->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_BE)) || format->comp[0].depth != 8)
    return false;
  const Plane luma{picture.data[0], picture.linesize[0], 0, 0};
  const bool fullRange = picture.color_range == AVCOL_RANGE_JPEG;
  const Layout layout = LayoutFor(picture.height, lines.size());
  size_t longest = 0;
  for (const std::string& line : lines)
    longest = std::max(longest, line.size());
  const int margin = layout.scale * 2;
  Box box{std::max(0, layout.left - margin), std::max(0, layout.top - margin),
          std::min(picture.width, layout.left + int(longest) * OverlayFont::kAdvance * layout.scale + margin),
          std::min(picture.height, layout.top + int(lines.size()) * layout.lineHeight)};
  if (box.right <= box.left || box.bottom <= box.top)
    return true;
  paint(luma, box, fullRange ? 0 : 16, true);
  for (int plane = 1; plane <= 2; ++plane)
    paint(Plane{picture.data[plane], picture.linesize[plane], format->log2_chroma_w, format->log2_chroma_h}, box, 128,
          true);
  for (size_t line = 0; line < lines.size(); ++line)
    drawLine(luma, box, layout, lines[line], layout.top + int(line) * layout.lineHeight, fullRange ? 255 : 235);
  return true;
}
