// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "drives/CardTime.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

// A large card made cheaply: a few generated one-minute recordings at 30 fps,
// hard-linked under the camera's names into ROOT/card/NormalMovie, drives of
// `perDrive` back-to-back recordings an hour apart.
namespace hard_linked_card {

inline constexpr int64_t kCardStart = 1781429520; // 2026-06-14 09:32:00
inline constexpr int kGenerated = 4;
inline constexpr int kDriveGapSeconds = 3600;

// A program built beside this one.
inline std::string Tool(const char* name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

// Stamp text of a moment, as the camera names its recordings.
inline std::string Stamp(int64_t seconds) {
  const std::string date = CardTime::Date(seconds), time = CardTime::TimeOfDay(seconds);
  return date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2) + "_" + time.substr(0, 2) + time.substr(3, 2) +
         time.substr(6, 2);
}

// False when the generator failed.
inline bool Make(const std::string& root, int recordings, int perDrive) {
  const std::string generated = root + "/generated", card = root + "/card/NormalMovie";
  std::filesystem::create_directories(generated);
  std::filesystem::create_directories(card);
  for (int i = 0; i < kGenerated; ++i) {
    const std::string command = "'" + Tool("make-sample-card") + "' --recording '" + generated + "/" +
                                std::to_string(i) + ".mp4' --seconds 60 --fps 30 --width 160 --height 120 --seed " +
                                std::to_string(i + 1) + " >/dev/null";
    if (std::system(command.c_str()) != 0)
      return false;
  }
  int64_t start = kCardStart;
  for (int i = 0; i < recordings; ++i) {
    std::filesystem::create_hard_link(generated + "/" + std::to_string(i % kGenerated) + ".mp4",
                                      card + "/drf0_" + Stamp(start) + ".mp4");
    start += 60 + ((i + 1) % perDrive == 0 ? kDriveGapSeconds : 0);
  }
  return true;
}

} // namespace hard_linked_card
