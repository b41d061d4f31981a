// SPDX-License-Identifier: GPL-3.0-or-later
#include "overview/OverviewMapJson.h"

#include "drives/CardTime.h"
#include "telemetry/FixedDecimal.h"
#include "telemetry/JsonText.h"

#include <algorithm>

namespace {

std::string place(const RecordingSummary::Point& point) {
  return FixedDecimal::Decimals(point.latitude, 6) + "," + FixedDecimal::Decimals(point.longitude, 6);
}

// The track point at or after `second`, else the last one; none without any.
const RecordingSummary::Point* pointAt(const RecordingSummary& recording, uint32_t second) {
  if (recording.track.empty())
    return nullptr;
  const auto at = std::find_if(recording.track.begin(), recording.track.end(),
                               [second](const RecordingSummary::Point& point) { return point.second >= second; });
  return at == recording.track.end() ? &recording.track.back() : &*at;
}

void appendSeparator(std::string& out, bool first) { out += first ? "" : ","; }

} // namespace

uint32_t OverviewMapJson::EventSecond(const RecordingSummary& recording) {
  for (const std::string& note : recording.eventNotes)
    if (const std::optional<int64_t> moment = CardTime::FromEventDate(note)) {
      const int64_t second = *moment - recording.start;
      return second >= 0 && second < int64_t(recording.durationSeconds + 0.5) ? uint32_t(second) : 0;
    }
  return 0;
}

void OverviewMapJson::AppendPin(size_t index, const RecordingSummary& recording, std::string& out) {
  const uint32_t second = EventSecond(recording);
  const RecordingSummary::Point* point = pointAt(recording, second);
  if (!point)
    return;
  const std::string label = recording.eventNotes.empty() ? recording.path : recording.eventNotes.front();
  appendSeparator(out, out.back() == '[');
  out += "[" + place(*point) + "," + std::to_string(index) + "," + std::to_string(second) + "," +
         JsonText::Quoted(label) + "]";
}

std::string OverviewMapJson::DriveColour(size_t row) {
  static const char* const kColours[] = {"#1f78b4", "#e31a1c", "#33a02c", "#ff7f00",
                                         "#6a3d9a", "#b15928", "#a6cee3", "#fb9a99"};
  return kColours[row % (sizeof kColours / sizeof *kColours)];
}

void OverviewMapJson::AppendDrive(const CardDrives& card, size_t row, const CardDrives::Drive& drive,
                                  std::string& out) {
  out += "{\"colour\":\"" + DriveColour(row) + "\",\"points\":[";
  bool first = true;
  for (const size_t index : drive.recordings)
    for (const RecordingSummary::Point& point : card.Recordings()[index].track) {
      appendSeparator(out, first);
      first = false;
      out += "[" + place(point) + "," + std::to_string(index) + "," + std::to_string(point.second) + "]";
    }
  out += "],\"events\":[";
  for (const size_t index : drive.events)
    AppendPin(index, card.Recordings()[index], out);
  out += "]}";
}

std::string OverviewMapJson::Build(const CardDrives& card, const std::vector<size_t>& drives) {
  std::string out = "{\"drives\":[";
  for (size_t row = 0; row < drives.size(); ++row) {
    appendSeparator(out, row == 0);
    AppendDrive(card, row, card.Drives()[drives[row]], out);
  }
  return out + "]}";
}
