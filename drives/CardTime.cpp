// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/CardTime.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr char kNamePrefix[] = "drf0_";
constexpr size_t kStampChars = 15;

} // namespace

std::optional<int64_t> CardTime::Parse(const char* text, const char* format) {
  std::tm fields{};
  if (std::sscanf(text, format, &fields.tm_year, &fields.tm_mon, &fields.tm_mday, &fields.tm_hour, &fields.tm_min,
                  &fields.tm_sec) != 6)
    return std::nullopt;
  const std::tm asked = fields;
  fields.tm_year -= 1900;
  fields.tm_mon -= 1;
  const std::time_t seconds = timegm(&fields);
  // timegm carries a day 31 of June into July: such a text is no moment.
  if (fields.tm_year + 1900 != asked.tm_year || fields.tm_mon + 1 != asked.tm_mon || fields.tm_mday != asked.tm_mday ||
      fields.tm_hour != asked.tm_hour || fields.tm_min != asked.tm_min || fields.tm_sec != asked.tm_sec)
    return std::nullopt;
  return int64_t(seconds);
}

std::optional<int64_t> CardTime::FromStamp(const std::string& stamp) {
  for (size_t i = 0; i < kStampChars; ++i)
    if (i >= stamp.size() || (i == 8 ? stamp[i] != '_' : (stamp[i] < '0' || stamp[i] > '9')))
      return std::nullopt;
  return Parse(stamp.c_str(), "%4d%2d%2d_%2d%2d%2d");
}

std::string CardTime::StampText(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const size_t prefix = path.find(kNamePrefix, slash == std::string::npos ? 0 : slash + 1);
  if (prefix == std::string::npos || path.size() < prefix + sizeof kNamePrefix - 1 + kStampChars)
    return {};
  return path.substr(prefix + sizeof kNamePrefix - 1, kStampChars);
}

std::optional<int64_t> CardTime::FromRecordingName(const std::string& path) { return FromStamp(StampText(path)); }

std::optional<int64_t> CardTime::FromIsoTime(const std::string& text) {
  return Parse(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d");
}

std::optional<int64_t> CardTime::FromEventDate(const std::string& line) {
  const size_t date = line.find("Date :");
  if (date == std::string::npos)
    return std::nullopt;
  return Parse(line.c_str() + date, "Date : %4d/%2d/%2d %2d:%2d:%2d");
}

std::string CardTime::Format(int64_t seconds, const char* format) {
  const std::time_t time = static_cast<std::time_t>(seconds);
  std::tm fields{};
  gmtime_r(&time, &fields);
  char text[32];
  std::strftime(text, sizeof text, format, &fields);
  return text;
}

std::string CardTime::Date(int64_t seconds) { return Format(seconds, "%Y-%m-%d"); }

std::string CardTime::TimeOfDay(int64_t seconds) { return Format(seconds, "%H:%M:%S"); }

std::string CardTime::Duration(int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / 3600), int(seconds / 60 % 60),
                int(seconds % 60));
  return text;
}
