// SPDX-License-Identifier: GPL-3.0-or-later
// Clips as `lumenark-clip` writes them, timed against the `ffmpeg` command
// doing the same in the same run (both as processes, warm cache):
//   exact: 30 s of a one-minute 1920 x 1080 30 fps recording with AAC, by
//     stream copy; target: median < 300 ms and <= 1.5 x ffmpeg's
//     `-ss 15 -to 45 -c copy`.
//   burned in: 30 s of a one-minute 1280 x 720 one, the telemetry drawn on
//     the picture and encoded again with libx264; target: < 30 s (faster
//     than real time) and a processor time <= 1.2 x ffmpeg's libx264 encode
//     of the same stretch at the same preset and quality.
// The machine may be shared with other work: the spread is printed.
#include "bench/support/ChildProcess.h"
#include "bench/support/Spread.h"
#include "media/PictureReencoder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kFrom = 15.0;
constexpr double kTo = 45.0;

struct Timing {
  std::vector<double> wallMs;
  std::vector<double> cpuMs;
  bool succeeded = true;
};

std::string tool(const std::string& name) {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / name).string();
}

bool makeRecording(const std::string& path, const std::string& size) {
  return std::system(("'" + tool("make-sample-card") + "' --recording '" + path + "' " + size +
                      " --fps 30 --seconds 60 --audio >/dev/null")
                         .c_str()) == 0;
}

// Runs `command` through the shell, its output dropped, and adds its wall
// and processor time.
void timeCommand(const std::string& command, Timing& timing) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", (command + " >/dev/null").c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const ChildExit ended = WaitForChild(child);
  timing.wallMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  timing.cpuMs.push_back(ended.cpuMs);
  timing.succeeded = timing.succeeded && ended.succeeded;
}

void print(const char* what, const Timing& timing) {
  const Spread wall = Spread::Of(timing.wallMs);
  const Spread cpu = Spread::Of(timing.cpuMs);
  std::printf("  %-30s wall min %7.0f ms, median %7.0f ms, max %7.0f ms; processor median %7.0f ms%s\n", what, wall.min,
              wall.median, wall.max, cpu.median, timing.succeeded ? "" : " (FAILED)");
}

// Our command and ffmpeg's, taking turns so that other load falls on both.
void race(int runs, const std::pair<std::string, std::string>& commands, Timing& us, Timing& them) {
  for (int i = 0; i < runs; ++i) {
    timeCommand(commands.first, us);
    timeCommand(commands.second, them);
  }
}

std::string stretch() { return " -ss " + std::to_string(kFrom) + " -to " + std::to_string(kTo) + " "; }

// lumenark-clip and ffmpeg on the same stretch of `recording`, with their
// own options, each writing a file of its own.
std::pair<std::string, std::string> commands(const std::filesystem::path& folder, const std::string& recording,
                                             const std::string& clipOptions, const std::string& ffmpegOptions) {
  return {"'" + tool("lumenark-clip") + "' '" + recording + "' --from " + std::to_string(kFrom) + " --to " +
              std::to_string(kTo) + " " + clipOptions + " -o '" + (folder / "clip.mp4").string() + "'",
          "ffmpeg -nostdin -v error -y" + stretch() + "-i '" + recording + "' " + ffmpegOptions + " '" +
              (folder / "ffmpeg.mp4").string() + "'"};
}

bool exact(const std::filesystem::path& folder) {
  const std::string recording = (folder / "drf0_20260614_093200.mp4").string();
  if (!makeRecording(recording, "--width 1920 --height 1080"))
    return false;
  Timing clip, ffmpeg;
  race(7, commands(folder, recording, "", "-c copy"), clip, ffmpeg);
  std::printf("Exact clip, 30 s of a one-minute 1920 x 1080 30 fps recording with AAC, 7 runs each\n");
  print("lumenark-clip", clip);
  print("ffmpeg -c copy", ffmpeg);
  const double ours = Spread::Of(clip.wallMs).median;
  const double theirs = Spread::Of(ffmpeg.wallMs).median;
  const bool met = clip.succeeded && ours < 300.0 && ours <= 1.5 * theirs;
  std::printf("  targets: < 300 ms and <= 1.5 x ffmpeg (%.2f x): %s\n", ours / theirs, met ? "met" : "MISSED");
  return met;
}

bool burnedIn(const std::filesystem::path& folder) {
  const std::string recording = (folder / "drf0_20260614_103200.mp4").string();
  if (!makeRecording(recording, "--width 1280 --height 720"))
    return false;
  Timing clip, ffmpeg;
  race(2,
       commands(folder, recording, "--overlay",
                std::string("-c:v libx264 -preset ") + PictureReencoder::kPreset + " -crf " +
                    std::to_string(PictureReencoder::kQuality) + " -c:a copy"),
       clip, ffmpeg);
  std::printf("Burned-in clip, 30 s of a one-minute 1280 x 720 30 fps recording with AAC, libx264 preset %s, "
              "crf %d, 2 runs each\n",
              PictureReencoder::kPreset, PictureReencoder::kQuality);
  print("lumenark-clip --overlay", clip);
  print("ffmpeg -c:v libx264", ffmpeg);
  const double wall = Spread::Of(clip.wallMs).median;
  const double cpuShare = Spread::Of(clip.cpuMs).median / Spread::Of(ffmpeg.cpuMs).median;
  const bool met = clip.succeeded && wall < 30000.0 && cpuShare <= 1.2;
  std::printf("  targets: < 30 s and <= 1.2 x ffmpeg's processor time (%.2f x): %s\n", cpuShare,
              met ? "met" : "MISSED");
  return met;
}

} // namespace

int main() {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "bench_clip";
  std::filesystem::create_directories(folder);
  const bool exactMet = exact(folder);
  const bool burnedMet = burnedIn(folder);
  std::filesystem::remove_all(folder);
  return exactMet && burnedMet ? 0 : 1;
}
