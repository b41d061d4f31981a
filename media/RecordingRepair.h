// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// Repairs a recording cut short by a power loss: its media data is walked
// with a healthy reference recording's stream descriptions and written,
// whole or not at all, as a new recording with a fresh index. The damaged
// file is only read.
class RecordingRepair {
public:
  struct Request {
    std::string damaged;
    std::string reference; // empty: the nearest earlier match in the folder
    std::string output;    // empty: "<name>_repaired.mp4" beside the damaged file
    // The share done, 0 to 1, called from the repairing thread.
    std::function<void(double)> progress;
    const std::atomic<bool>* cancel = nullptr;
  };
  struct Result {
    bool repaired = false;
    std::string error;
    std::string output;
    std::string reference;
    int64_t pictures = 0;
    int64_t keyPictures = 0;
    int64_t audioFrames = 0;
    uint64_t skippedBytes = 0;
    // The reference has sound, but it could not be recovered reliably.
    bool soundLeftOut = false;
    bool telemetryKept = false;
  };

  static Result Run(const Request& request);
  // "<folder>/<name>_repaired.mp4" for "<folder>/<name>.mp4".
  static std::string DefaultOutput(const std::string& damaged);
};
