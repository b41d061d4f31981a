// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Recordings for the player's tests and benchmark, made with the ffmpeg
// command and closed with a user-data box so that the engine accepts them.
class TestRecording {
public:
  struct Spec {
    int width = 320;
    int height = 240;
    int fps = 30;
    double seconds = 2.0;
    // Solid colours (0xRRGGBB) shown one after the other for equal parts of
    // the recording; empty for a moving test pattern.
    std::vector<uint32_t> colours;
    bool audio = false;
    bool video = true;
  };

  // False when ffmpeg failed.
  static bool make(const Spec& spec, const std::string& path);
  // A file holding only the user-data box: not a video at all.
  static bool makeUserDataOnly(const std::string& path);
  // Keeps the first `fraction` of the media data and closes the file again.
  static bool cutShort(const std::string& path, double fraction);

private:
  static std::string sourceArguments(const Spec& spec);
  static bool appendUserData(const std::string& path, uint32_t records);
  static bool run(const std::string& command);
};
