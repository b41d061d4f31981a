// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/make-sample-card/Stamp.h"

#include "drives/CardTime.h"

std::optional<Stamp> Stamp::FromText(const std::string& text) {
  const std::optional<int64_t> seconds = text.size() == 15 ? CardTime::FromStamp(text) : std::nullopt;
  if (!seconds)
    return std::nullopt;
  return Stamp(*seconds);
}

int Stamp::SecondOfDay() const {
  const int64_t inDay = m_seconds % 86400;
  return static_cast<int>(inDay < 0 ? inDay + 86400 : inDay);
}

std::string Stamp::Format(const char* format) const { return CardTime::Format(m_seconds, format); }

std::string Stamp::FileStamp() const { return Format("%Y%m%d_%H%M%S"); }
std::string Stamp::NmeaTime() const { return Format("%H%M%S.00"); }
std::string Stamp::NmeaDate() const { return Format("%d%m%y"); }
std::string Stamp::EventDate() const { return Format("%Y/%m/%d %H:%M:%S"); }
