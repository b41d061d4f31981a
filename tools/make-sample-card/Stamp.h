// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A UTC moment in whole seconds and the text forms the card uses for it.
class Stamp {
public:
  explicit Stamp(int64_t secondsSinceEpoch) : m_seconds(secondsSinceEpoch) {}
  // "yyyymmdd_hhmmss"; nothing when the text is not one.
  static std::optional<Stamp> FromText(const std::string& text);

  Stamp Plus(int64_t seconds) const { return Stamp(m_seconds + seconds); }
  int SecondOfDay() const;

  std::string FileStamp() const; // yyyymmdd_hhmmss
  std::string NmeaTime() const;  // hhmmss.00
  std::string NmeaDate() const;  // ddmmyy
  std::string EventDate() const; // yyyy/mm/dd hh:mm:ss

private:
  std::string Format(const char* format) const;

  int64_t m_seconds;
};
