// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "telemetry/HarshMomentDetector.h"

#include <string>

// The harsh moments of several recordings as one document: CSV with a header
// line, or a JSON array, one row or object per moment. Seconds have two
// decimals and peaks three, with a point whatever the locale says.
class HarshMomentReport {
public:
  // "csv" or "json"; false for any other name.
  static bool KnownFormat(const std::string& format);

  explicit HarshMomentReport(const std::string& format) : m_json(format == "json") {}

  void Add(const std::string& file, const std::vector<HarshMomentDetector::Moment>& moments);
  std::string Document() const;

private:
  static std::string CsvField(const std::string& text);
  std::string Row(const std::string& file, const HarshMomentDetector::Moment& moment) const;

  bool m_json;
  std::string m_rows;
};
