// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The event text files of a card's "Event" folder, listed once, and the
// "Date :" lines of those that belong to an event recording (their names hold
// its stamp). Only regular files are read, each up to a size no note reaches.
class EventNotes {
public:
  explicit EventNotes(const std::string& eventFolder);
  // The folder beside the "EventMovie" folder that holds `recordingPath`.
  static std::string FolderFor(const std::string& recordingPath);

  // In the order of the files' names, then of the lines.
  std::vector<std::string> For(const std::string& recordingPath) const;

private:
  static void AddDateLines(const std::string& path, std::vector<std::string>& lines);

  std::string m_folder;
  std::vector<std::string> m_names;
};
