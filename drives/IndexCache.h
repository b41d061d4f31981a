// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/RecordingSummary.h"

#include <optional>
#include <string>

// Recording summaries kept between runs, one file per recording, keyed by the
// recording's path, size and modification time, and by the settings its
// harsh moments were counted under. A file is written whole or
// not at all (a temporary renamed over it) and carries a checksum: a damaged
// or foreign one is ignored, so the recording is read again.
class IndexCache {
public:
  struct Key {
    std::string path;
    uint64_t size = 0;
    int64_t modifiedNs = 0;
  };

  // `folder` empty: nothing is kept. `harshKey`: HarshSettings::Key().
  IndexCache(std::string folder, std::string harshKey) : m_folder(std::move(folder)), m_harshKey(std::move(harshKey)) {}
  // $XDG_CACHE_HOME/lumenark, else ~/.cache/lumenark; empty without either.
  static std::string DefaultFolder();
  // The key of a regular file; nothing for anything else.
  static std::optional<Key> KeyOf(const std::string& path);

  std::optional<RecordingSummary> Load(const Key& key) const;
  // False when the file could not be written (the cache is a help, not a need).
  bool Store(const Key& key, const RecordingSummary& summary) const;

private:
  std::string FileFor(const std::string& path) const;
  std::string Text(const Key& key, const RecordingSummary& summary) const;
  std::optional<RecordingSummary> Parse(const std::string& text, const Key& key) const;

  std::string m_folder;
  std::string m_harshKey;
};
