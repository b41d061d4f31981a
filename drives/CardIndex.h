// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/HarshSettings.h"
#include "drives/RecordingSummary.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

// The summaries of a card's recordings, read in worker threads, each taken
// from the cache while its file is unchanged. A recording that cannot be read
// is kept with its reason; it never stops the index.
class CardIndex {
public:
  struct Options {
    std::string cacheFolder; // empty: no cache
    unsigned threads = 0;    // 0: one per processor
    // Called after each recording, from the worker that read it.
    std::function<void(size_t done, size_t total)> progress;
    const std::atomic<bool>* cancel = nullptr; // stops before the next recording
    HarshSettings harsh;                       // what harsh moments are counted under
  };

  struct Result {
    std::vector<RecordingSummary> recordings; // in the order of the paths
    bool complete = true;                     // false when cancelled
  };

  // "*.mp4" (any letter case) in `folder` and in its folders one level down
  // (a card's root holds the normal and the event recordings' folders), by
  // name.
  static std::vector<std::string> Recordings(const std::string& folder);
  static Result Read(const std::vector<std::string>& paths, const Options& options);
  // Recordings(folder), read.
  static Result ReadCard(const std::string& folder, const Options& options);

private:
  static RecordingSummary ReadOne(const std::string& path, const class IndexCache& cache, const HarshSettings& harsh);
  static void AddEventNotes(std::vector<RecordingSummary>& recordings);
};
