// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Moments on the camera's clock as seconds since 1970, read from the texts a
// card holds (the recording names, the GPS time, the event notes) and shown
// back without a time zone: the camera's clock has none.
class CardTime {
public:
  // The 15 characters after "drf0_" in a file's name; empty without them.
  static std::string StampText(const std::string& path);
  // The stamp of a "drf0_yyyymmdd_hhmmss" file name; nothing without one or
  // when it is no real date and time.
  static std::optional<int64_t> FromRecordingName(const std::string& path);
  // "yyyy-mm-ddThh:mm:ss[.ss]Z", fractions dropped.
  static std::optional<int64_t> FromIsoTime(const std::string& text);
  // The moment of an event note's "Date : yyyy/mm/dd hh:mm:ss" line.
  static std::optional<int64_t> FromEventDate(const std::string& line);
  // "yyyymmdd_hhmmss", as a recording name holds it.
  static std::optional<int64_t> FromStamp(const std::string& stamp);

  // strftime's text of the moment, for short formats.
  static std::string Format(int64_t seconds, const char* format);
  static std::string Date(int64_t seconds);      // yyyy-mm-dd
  static std::string TimeOfDay(int64_t seconds); // hh:mm:ss
  static std::string Duration(int64_t seconds);  // h:mm:ss

private:
  // Six numbers read with `format` from `text`, checked to be a real moment.
  static std::optional<int64_t> Parse(const char* text, const char* format);
};
