// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"
#include "player/DecodingMonitor.h"
#include "player/FrameReportGate.h"
#include "player/PlayerCommand.h"
#include "player/VideoWindowPair.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class FrameStore;
class MpvChannel;
class PlayerHost;
struct mpv_event;
struct mpv_event_end_file;
struct mpv_event_property;

// One run of the module's entry, on the engine's player thread: asks the
// engine for its windows and settings, plays the recordings it is given and
// carries out commands until "quit" or the stop flag, then reports that the
// player ended.
class PlayerSession {
public:
  PlayerSession(PlayerHost& host, std::string path1, std::string path2);
  ~PlayerSession();
  PlayerSession(const PlayerSession&) = delete;
  PlayerSession& operator=(const PlayerSession&) = delete;

  // Returns when the player ends; the result is the entry's.
  int run();

private:
  enum class Phase { Idle, Loading, Playing };

  void announce();
  void queryEngineAndMakeWindows();
  bool openDecoders();
  std::unique_ptr<MpvChannel> makeChannel(int channel);
  void commandLoop();
  bool stopFlagSet() const;

  // False for "quit".
  bool execute(const PlayerCommand& command);
  void load(const std::string& path1, const std::string& path2);
  void stop();
  void seek(double seconds, bool absolute);
  void frameBackStep();
  void setSpeedLevel(double level);
  void setBrightness(double level);
  void setVolume(double level);
  void setHardwareDecoding(bool hardware);
  void reportDuration();
  template <typename Action> void forEachChannel(Action action);

  void drainEvents();
  void onEvent(const mpv_event& event);
  void onPropertyChange(uint64_t reply, const mpv_event_property& property);
  void onFileLoaded();
  void measureRecording();
  void onPlaybackRestart();
  void onEndFile(const mpv_event_end_file& end);
  void failRecording(const std::string& why);
  void finishRecording();
  // Holds later frame reports and reports the end of the recording, after a
  // last frame report at `position` when one is given.
  void endRecording(const uint32_t* position);

  void holdFrameReports();

  // Render thread of channel 1.
  void onFrameShown(const uint8_t* image, uint64_t render);
  // Render threads: the window is to show the channel's new front image.
  void show(int window, int channel);
  // Delivers a due report in its turn; a stale one is dropped.
  void deliver(const FrameReportGate::Report& report, FrameReportGate::Waiting waiting);
  // Within a turn.
  void reportFrame(uint32_t index, double seconds, const uint8_t* image1);
  uint32_t frameIndexAt(double seconds) const;

  PlayerHost& m_host;
  FrameStore& m_frames;
  std::string m_path1;
  std::string m_path2;
  VideoWindowPair::Windows m_windows;
  std::unique_ptr<MpvChannel> m_primary;
  std::unique_ptr<MpvChannel> m_secondary;
  std::atomic<bool> m_secondaryInUse{false};

  Phase m_phase = Phase::Idle;
  bool m_stopRequested = false;
  int64_t m_currentEntry = 0;
  int64_t m_staleEntry = 0;
  double m_speedLevel;
  int32_t m_startVolume = 0;
  std::string m_videoFilters; // libmpv's "vf" chain: the brightness filter or none
  double m_duration = 0.0;
  float m_reportedDuration = 0.0f;
  std::atomic<double> m_timePos{0.0};
  std::atomic<double> m_fps{0.0};
  std::atomic<uint32_t> m_length{0};
  FrameReportGate m_reportGate;
  DecodingMonitor m_decoding;
  player::StreamInfo m_streamInfo{};
  player::StreamRecord m_streamRecord{};
};
