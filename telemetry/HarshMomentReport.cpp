// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/HarshMomentReport.h"

#include "telemetry/FixedDecimal.h"
#include "telemetry/JsonText.h"

bool HarshMomentReport::KnownFormat(const std::string& format) { return format == "csv" || format == "json"; }

void HarshMomentReport::Add(const std::string& file, const std::vector<HarshMomentDetector::Moment>& moments) {
  for (const HarshMomentDetector::Moment& moment : moments)
    m_rows += Row(file, moment);
}

std::string HarshMomentReport::Document() const {
  if (!m_json)
    return "file,kind,start,end,peak\n" + m_rows;
  // Rows end in ",\n"; the last one's comma goes.
  return m_rows.empty() ? "[]\n" : "[\n" + m_rows.substr(0, m_rows.size() - 2) + "\n]\n";
}

// Quoted only when it holds a comma, a quote or a line break (RFC 4180).
std::string HarshMomentReport::CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos)
    return text;
  std::string quoted = "\"";
  for (const char c : text)
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string HarshMomentReport::Row(const std::string& file, const HarshMomentDetector::Moment& moment) const {
  const std::string kind = HarshMomentDetector::KindName(moment.kind);
  const std::string start = FixedDecimal::Decimals(moment.startSecond, 2);
  const std::string end = FixedDecimal::Decimals(moment.endSecond, 2);
  const std::string peak = FixedDecimal::Decimals(moment.peak, 3);
  if (!m_json)
    return CsvField(file) + ',' + kind + ',' + start + ',' + end + ',' + peak + '\n';
  return "{\"file\":" + JsonText::Quoted(file) + ",\"kind\":\"" + kind + "\",\"start\":" + start + ",\"end\":" + end +
         ",\"peak\":" + peak + "},\n";
}
