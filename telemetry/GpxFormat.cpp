// SPDX-License-Identifier: GPL-3.0-or-later
#include "telemetry/GpxFormat.h"

#include "telemetry/FixedDecimal.h"
#include "telemetry/Track.h"

namespace {

std::string xmlEscaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
    case '&':
      escaped += "&amp;";
      break;
    case '<':
      escaped += "&lt;";
      break;
    case '>':
      escaped += "&gt;";
      break;
    case '"':
      escaped += "&quot;";
      break;
    default:
      // Control characters are not allowed in XML 1.0 text.
      if (static_cast<unsigned char>(c) >= 0x20 || c == '\t')
        escaped += c;
    }
  }
  return escaped;
}

void appendSegment(const UserDataFile& telemetry, std::string& out) {
  out += "  <trkseg>\n";
  for (const Track::Point& point : Track::FromRecording(telemetry)) {
    out += "   <trkpt lat=\"" + FixedDecimal::SixDecimals(point.latitude) + "\" lon=\"" +
           FixedDecimal::SixDecimals(point.longitude) + "\">";
    if (!point.time.empty())
      out += "<time>" + point.time + "</time>";
    out += "</trkpt>\n";
  }
  out += "  </trkseg>\n";
}

} // namespace

void GpxFormat::Write(const UserDataFile& telemetry, const std::string& name, std::string& out) const {
  WriteSegments({&telemetry}, name, out);
}

void GpxFormat::WriteSegments(const std::vector<const UserDataFile*>& recordings, const std::string& name,
                              std::string& out) {
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gpx version=\"1.1\" creator=\"lumenark-telemetry\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
         " <trk>\n  <name>" +
         xmlEscaped(name) + "</name>\n";
  for (const UserDataFile* recording : recordings)
    appendSegment(*recording, out);
  out += " </trk>\n</gpx>\n";
}
