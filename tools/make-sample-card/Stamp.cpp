// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/Stamp.h"

#include <cstdio>
#include <ctime>

std::optional<Stamp> Stamp::FromText(const std::string& text) {
  std::tm fields{};
  char tail = 0;
  if (text.size() != 15 || std::sscanf(text.c_str(), "%4d%2d%2d_%2d%2d%2d%c", &fields.tm_year, &fields.tm_mon,
                                       &fields.tm_mday, &fields.tm_hour, &fields.tm_min, &fields.tm_sec, &tail) != 6)
    return std::nullopt;
  fields.tm_year -= 1900;
  fields.tm_mon -= 1;
  const int64_t seconds = timegm(&fields);
  if (Stamp(seconds).FileStamp() != text)
    return std::nullopt;
  return Stamp(seconds);
}

int Stamp::SecondOfDay() const {
  const int64_t inDay = m_seconds % 86400;
  return static_cast<int>(inDay < 0 ? inDay + 86400 : inDay);
}

std::string Stamp::Format(const char* format) const {
  const std::time_t seconds = static_cast<std::time_t>(m_seconds);
  std::tm fields{};
  gmtime_r(&seconds, &fields);
  char text[32];
  std::strftime(text, sizeof text, format, &fields);
  return text;
}

std::string Stamp::FileStamp() const { return Format("%Y%m%d_%H%M%S"); }
std::string Stamp::NmeaTime() const { return Format("%H%M%S.00"); }
std::string Stamp::NmeaDate() const { return Format("%d%m%y"); }
std::string Stamp::EventDate() const { return Format("%Y/%m/%d %H:%M:%S"); }
