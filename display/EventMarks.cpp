// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/EventMarks.h"

#include "display/PictureCopy.h"

namespace {

constexpr int kTimelineWidth = 666;
constexpr int kTimelineLeft = 33;
constexpr int kFirstShownLeft = 51;
constexpr int kMarkTop = 589;
const QSize kMarkSize(12, 21);

// The two-digit number at `at`; -1 when either character is not a digit.
int twoDigits(const std::string& text, size_t at) {
  const auto digit = [&](size_t i) { return text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1; };
  const int tens = digit(at);
  const int ones = digit(at + 1);
  return tens < 0 || ones < 0 ? -1 : tens * 10 + ones;
}

// "hh:mm:ss" with a stride of 3, "hhmmss" with 2.
std::optional<int> secondsAt(const std::string& text, size_t at, size_t stride) {
  const int hours = twoDigits(text, at);
  const int minutes = twoDigits(text, at + stride);
  const int seconds = twoDigits(text, at + 2 * stride);
  if (hours < 0 || minutes < 0 || seconds < 0)
    return std::nullopt;
  return hours * 3600 + minutes * 60 + seconds;
}

} // namespace

EventMarks::EventMarks(QImage mark) : m_mark(std::move(mark)) {}

std::optional<int> EventMarks::SecondsAtEnd(const std::string& line) {
  const size_t end = line.find_last_not_of(" \t\r\n");
  const size_t length = end == std::string::npos ? 0 : end + 1;
  constexpr size_t kTimeChars = 8;
  if (length < kTimeChars)
    return std::nullopt;
  return secondsAt(line, length - kTimeChars, 3);
}

std::vector<int> EventMarks::Offsets(const std::vector<std::string>& notes, const std::string& baseTime) {
  const std::optional<int> base = baseTime.size() >= 6 ? secondsAt(baseTime, 0, 2) : std::nullopt;
  std::vector<int> offsets;
  if (!base)
    return offsets;
  for (const std::string& note : notes)
    if (const std::optional<int> seconds = SecondsAtEnd(note))
      offsets.push_back(*seconds - *base);
  return offsets;
}

std::vector<int> EventMarks::MarkLefts(const std::vector<int>& offsets, int duration) {
  std::vector<int> lefts;
  if (duration <= 0)
    return lefts;
  const int scale = kTimelineWidth / duration;
  for (int offset : offsets) {
    if (offset > duration)
      continue;
    const int x = offset * scale + kTimelineLeft;
    if (x >= kFirstShownLeft)
      lefts.push_back(x);
  }
  return lefts;
}

void EventMarks::SetNotes(const std::vector<std::string>& notes, const std::string& baseTime) {
  m_offsets = Offsets(notes, baseTime);
  m_drawnFor = 0;
  m_copied = 0;
}

// Copies replace what they cover, so marks drawn again where they already
// are would change nothing.
bool EventMarks::Draw(QImage& canvas, int duration) {
  if (duration == m_drawnFor)
    return false;
  for (int left : MarkLefts(m_offsets, duration)) {
    CopyPicture(canvas, QPoint(left, kMarkTop), m_mark, kMarkSize);
    ++m_copied;
  }
  m_drawnFor = duration;
  return true;
}
