// SPDX-License-Identifier: GPL-3.0-or-later
#include "drives/CardIndex.h"

#include "drives/EventNotes.h"
#include "drives/IndexCache.h"
#include "drives/RecordingReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <thread>

namespace {

bool isRecordingName(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return extension == ".mp4";
}

// The entries of one folder; a folder that cannot be listed gives none.
std::vector<std::filesystem::directory_entry> entries(const std::filesystem::path& folder) {
  std::vector<std::filesystem::directory_entry> found;
  std::error_code failed;
  for (std::filesystem::directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed))
    found.push_back(*it);
  return found;
}

} // namespace

std::vector<std::string> CardIndex::Recordings(const std::string& folder) {
  std::vector<std::string> paths;
  const auto addFrom = [&paths](const std::vector<std::filesystem::directory_entry>& list) {
    for (const auto& entry : list) {
      std::error_code ignored;
      if (!entry.is_directory(ignored) && isRecordingName(entry.path()))
        paths.push_back(entry.path().string());
    }
  };
  const std::vector<std::filesystem::directory_entry> top = entries(folder);
  addFrom(top);
  for (const auto& entry : top) {
    std::error_code ignored;
    if (entry.is_directory(ignored) && !entry.is_symlink(ignored))
      addFrom(entries(entry.path()));
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

RecordingSummary CardIndex::ReadOne(const std::string& path, const IndexCache& cache, const HarshSettings& harsh) {
  const std::optional<IndexCache::Key> key = IndexCache::KeyOf(path);
  if (key)
    if (std::optional<RecordingSummary> kept = cache.Load(*key))
      return *kept;
  RecordingSummary summary = RecordingReader::Read(path, harsh);
  // A failure may pass (a card read while the camera writes): only what was
  // read is kept.
  if (key && summary.Readable())
    cache.Store(*key, summary);
  return summary;
}

CardIndex::Result CardIndex::Read(const std::vector<std::string>& paths, const Options& options) {
  Result result;
  result.recordings.resize(paths.size());
  const IndexCache cache(options.cacheFolder, options.harsh.Key());
  std::atomic<size_t> next{0}, done{0};
  std::atomic<bool> stopped{false};
  const auto work = [&] {
    for (size_t i; (i = next++) < paths.size();) {
      if (options.cancel && options.cancel->load()) {
        stopped = true;
        return;
      }
      result.recordings[i] = ReadOne(paths[i], cache, options.harsh);
      const size_t count = ++done;
      if (options.progress)
        options.progress(count, paths.size());
    }
  };
  const unsigned threads = std::max(1u, options.threads ? options.threads : std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  for (unsigned t = 1; t < std::min<size_t>(threads, paths.size()); ++t)
    workers.emplace_back(work);
  work();
  for (std::thread& worker : workers)
    worker.join();
  result.complete = !stopped;
  if (!result.complete)
    result.recordings.clear();
  AddEventNotes(result.recordings);
  return result;
}

// The notes are other files than the recording's: read each time, not kept.
void CardIndex::AddEventNotes(std::vector<RecordingSummary>& recordings) {
  std::map<std::string, EventNotes> folders;
  for (RecordingSummary& summary : recordings) {
    if (!summary.event)
      continue;
    const std::string folder = EventNotes::FolderFor(summary.path);
    auto notes = folders.try_emplace(folder, folder).first;
    summary.eventNotes = notes->second.For(summary.path);
  }
}

CardIndex::Result CardIndex::ReadCard(const std::string& folder, const Options& options) {
  return Read(Recordings(folder), options);
}
