// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// Recordings for the player's tests and benchmark: dash-camera recordings
// from the project's sample generator, and a few that no camera would write.
class TestRecording {
public:
  struct Options {
    int width = 320;
    int height = 240;
    int fps = 30;
    int seconds = 2;
    // Red, green, blue, ... one second each, instead of the road scene.
    bool solidColours = false;
    bool audio = false;
    // ffmpeg's video encoder and its settings, for makeDetailed.
    std::string encoder = "libx264 -preset veryfast";
  };

  // False when the generator failed.
  static bool make(const Options& options, const std::string& path);
  // ffmpeg's moving test picture (fine detail, colour gradients, motion) with
  // a tone, as the camera would encode it: one key frame a second, no
  // B-frames; with a user-data box. Costs a decoder what a real road scene does.
  static bool makeDetailed(const Options& options, const std::string& path);
  // The viewer's demo card in `folder`.
  static bool makeDemoCard(const std::string& folder);
  // Sound and a user-data box, no video track (made with the ffmpeg command).
  static bool makeAudioOnly(const std::string& path, int seconds);
  // A file holding only a user-data box: not a video at all.
  static bool makeUserDataOnly(const std::string& path);
  // Keeps the first `fraction` of the media data; the boxes after it stay.
  static bool cutShort(const std::string& path, double fraction);

private:
  static std::string generator();
  static bool appendUserData(const std::string& path, uint32_t records);
  static bool run(const std::string& command);
};
