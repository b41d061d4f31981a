// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/CardDrives.h"

#include <algorithm>
#include <optional>
#include <tuple>

CardDrives::CardDrives(std::vector<RecordingSummary> recordings) : m_recordings(std::move(recordings)) {
  std::vector<size_t> placed;
  for (size_t i = 0; i < m_recordings.size(); ++i)
    (m_recordings[i].hasStart ? placed : m_unplaced).push_back(i);
  // Two recordings with one stamp keep the order of their paths.
  std::stable_sort(placed.begin(), placed.end(), [this](size_t a, size_t b) {
    return std::tie(m_recordings[a].start, m_recordings[a].path) <
           std::tie(m_recordings[b].start, m_recordings[b].path);
  });
  std::vector<size_t> normals, played, copies;
  for (const size_t i : placed)
    if (!m_recordings[i].event && m_recordings[i].Readable())
      normals.push_back(i);
  for (const size_t i : placed)
    (m_recordings[i].event && HoldingNormal(normals, i) ? copies : played).push_back(i);
  Group(played);
  AddCopies(copies, normals);
  for (Drive& drive : m_drives)
    Finish(drive);
}

std::optional<size_t> CardDrives::HoldingNormal(const std::vector<size_t>& normals, size_t index) const {
  const int64_t start = m_recordings[index].start;
  // The last normal recording starting at or before it.
  const auto after = std::upper_bound(normals.begin(), normals.end(), start,
                                      [this](int64_t time, size_t i) { return time < m_recordings[i].start; });
  // A moved minute may start within the rounding of the one before it.
  if (after == normals.begin() || start + kCopyOverlapSeconds > m_recordings[*std::prev(after)].start +
                                                                    m_recordings[*std::prev(after)].durationSeconds)
    return std::nullopt;
  return *std::prev(after);
}

void CardDrives::Group(const std::vector<size_t>& played) {
  bool open = false;
  int64_t end = 0;
  for (const size_t i : played) {
    const RecordingSummary& recording = m_recordings[i];
    if (!open || recording.start > end + kJoinSeconds) {
      m_drives.emplace_back();
      end = recording.start;
    }
    m_drives.back().recordings.push_back(i);
    m_driveOf[i] = m_drives.size() - 1;
    end = std::max(end, recording.End());
    open = recording.Readable();
  }
}

void CardDrives::AddCopies(const std::vector<size_t>& copies, const std::vector<size_t>& normals) {
  for (const size_t i : copies)
    m_drives[m_driveOf.at(*HoldingNormal(normals, i))].events.push_back(i);
}

void CardDrives::Finish(Drive& drive) const {
  for (const size_t i : drive.recordings)
    if (m_recordings[i].event)
      drive.events.push_back(i);
  std::sort(drive.events.begin(), drive.events.end(),
            [this](size_t a, size_t b) { return m_recordings[a].start < m_recordings[b].start; });
  drive.start = m_recordings[drive.recordings.front()].start;
  drive.end = drive.start;
  for (const size_t i : drive.recordings) {
    const RecordingSummary& recording = m_recordings[i];
    drive.end = std::max(drive.end, recording.End());
    drive.distanceMetres += recording.distanceMetres;
    drive.topSpeedKmh = std::max(drive.topSpeedKmh, recording.topSpeedKmh);
    drive.harshMoments += recording.harshMoments;
  }
}

std::string CardDrives::NextRecording(const std::string& path) const {
  for (const auto& [index, drive] : m_driveOf) {
    if (m_recordings[index].path != path)
      continue;
    const std::vector<size_t>& order = m_drives[drive].recordings;
    const auto at = std::find(order.begin(), order.end(), index);
    return at + 1 == order.end() ? std::string() : m_recordings[*(at + 1)].path;
  }
  return {};
}
