// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/EventNotes.h"

#include "drives/CardTime.h"
#include "telemetry/RecordingFile.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace {

constexpr uint64_t kLargestNote = 64 << 10;

} // namespace

EventNotes::EventNotes(const std::string& eventFolder) : m_folder(eventFolder) {
  std::error_code failed;
  for (std::filesystem::directory_iterator it(eventFolder, failed), end; !failed && it != end; it.increment(failed))
    if (it->path().extension() == ".txt")
      m_names.push_back(it->path().filename().string());
  std::sort(m_names.begin(), m_names.end());
}

std::string EventNotes::FolderFor(const std::string& recordingPath) {
  const size_t folder = recordingPath.rfind("/EventMovie/");
  return folder == std::string::npos ? std::string() : recordingPath.substr(0, folder) + "/Event";
}

std::vector<std::string> EventNotes::For(const std::string& recordingPath) const {
  std::vector<std::string> lines;
  const std::string stamp = CardTime::StampText(recordingPath);
  if (stamp.empty())
    return lines;
  for (const std::string& name : m_names)
    if (name.find(stamp) != std::string::npos)
      AddDateLines(m_folder + "/" + name, lines);
  return lines;
}

void EventNotes::AddDateLines(const std::string& path, std::vector<std::string>& lines) {
  const RecordingFile file(path);
  if (!file.IsOpen())
    return;
  std::string text(size_t(std::min(file.Size(), kLargestNote)), '\0');
  if (!file.ReadAt(0, reinterpret_cast<uint8_t*>(text.data()), text.size()))
    return;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.find("Date :") != std::string::npos)
      lines.push_back(line);
  }
}
