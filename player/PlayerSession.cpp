// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/PlayerSession.h"

#include "platform/DecimalText.h"
#include "player/FrameMailbox.h"
#include "player/FrameStore.h"
#include "player/MpvChannel.h"
#include "player/PlaybackLevels.h"
#include "player/PlayerHost.h"
#include "telemetry/Mp4VideoTrack.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <dlfcn.h>
#include <mpv/client.h>

namespace {

constexpr uint64_t kTimePosReply = 1;
constexpr uint64_t kFirstDropCountReply = 2;
// The stop flag is a plain value the engine writes, so it is looked at this
// often; commands and libmpv's events wake the player at once.
constexpr auto kStopFlagPoll = std::chrono::milliseconds(50);
// A recording whose playback stops this many frames before its stated
// duration was cut short.
constexpr double kCutShortFrames = 3.0;
constexpr double kFallbackFps = 30.0;
constexpr int kChannel1 = 0;
constexpr int kChannel2 = 1;

std::string moduleFileName() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&moduleFileName), &info) && info.dli_fname)
    return info.dli_fname;
  return "mplayer";
}

std::string formatDecimal(double value) { return platform::fixedDecimal(value, 2); }

} // namespace

PlayerSession::PlayerSession(PlayerHost& host, std::string path1, std::string path2)
    : m_host(host), m_frames(host.frames()), m_path1(std::move(path1)), m_path2(std::move(path2)),
      m_speedLevel(PlaybackLevels::kNormalSpeedLevel), m_decoding(kFirstDropCountReply) {
  m_streamRecord.info = &m_streamInfo;
}

PlayerSession::~PlayerSession() = default;

int PlayerSession::run() {
  announce();
  queryEngineAndMakeWindows();
  if (openDecoders()) {
    setVolume(m_startVolume);
    load(m_path1, m_path2);
    commandLoop();
  }
  // Only the decoders' own threads are waited for here: the GUI thread may be
  // waiting for the end of the player.
  m_secondary.reset();
  m_primary.reset();
  for (const VideoWindowPair::Window& window : m_windows) {
    if (window.mailbox)
      window.mailbox->retire();
  }
  m_host.report(player::kEventPlayerEnded);
  return 0;
}

void PlayerSession::announce() {
  m_host.report(player::kEventStopFlag, reinterpret_cast<intptr_t>(&m_host.stopFlag()));
  static const std::string module = moduleFileName();
  m_host.report(player::kEventModule, reinterpret_cast<intptr_t>(module.c_str()));
}

void PlayerSession::queryEngineAndMakeWindows() {
  auto* mainWindow = m_host.query<player::WindowHandle>(player::kEventQueryMainWindow, nullptr);
  const auto* placementA = m_host.query<const player::VideoPlacement*>(player::kEventQueryPlacementA, nullptr);
  // Placement B and the desktop size are asked for as the engine expects;
  // windows are children of the main window, so neither changes their placing.
  m_host.query<const player::VideoPlacement*>(player::kEventQueryPlacementB, nullptr);
  m_host.query<int32_t>(player::kEventQueryDesktopWidth, 0);
  m_host.query<int32_t>(player::kEventQueryDesktopHeight, 0);
  m_startVolume = m_host.query<int32_t>(player::kEventQueryVolume, PlaybackLevels::kNormalVolume);

  m_windows = m_host.windows().acquire(static_cast<QObject*>(mainWindow), placementA);
  m_host.report(player::kEventVideoWindow1, reinterpret_cast<intptr_t>(m_windows[0].handle));
  m_host.report(player::kEventVideoWindow2, reinterpret_cast<intptr_t>(m_windows[1].handle));
}

std::unique_ptr<MpvChannel> PlayerSession::makeChannel(int channel) {
  MpvChannel::FrameShown shown;
  if (channel == kChannel1) {
    shown = [this](const uint8_t* image, uint64_t render) { onFrameShown(image, render); };
  } else {
    shown = [this](const uint8_t*, uint64_t) { show(kChannel2, kChannel2); };
  }
  auto decoder = std::make_unique<MpvChannel>(
      m_frames, channel, [this] { m_host.inbox().wake(); }, std::move(shown));
  if (!decoder->open(channel == kChannel1 ? MpvChannel::Audio::Play : MpvChannel::Audio::Off)) {
    m_host.diagnostic("player: " + decoder->errorText());
    return nullptr;
  }
  decoder->setString("hwdec", DecodingMonitor::hwdecOption(m_host.hardwareDecoding()));
  return decoder;
}

bool PlayerSession::openDecoders() {
  m_frames.clear();
  m_primary = makeChannel(kChannel1);
  if (!m_primary)
    return false;
  m_primary->observeDouble(kTimePosReply, "time-pos");
  m_decoding.observe(*m_primary);
  return true;
}

bool PlayerSession::stopFlagSet() const { return m_host.stopFlag().load() == 1; }

void PlayerSession::commandLoop() {
  while (!stopFlagSet()) {
    const CommandInbox::Batch batch = m_host.inbox().wait(kStopFlagPoll);
    for (const PlayerCommand& command : batch.commands) {
      if (!execute(command) || stopFlagSet())
        return;
    }
    // Looking for events costs libmpv a timed wait; it wakes the inbox when
    // it has some.
    if (batch.woken)
      drainEvents();
  }
}

bool PlayerSession::execute(const PlayerCommand& command) {
  using Kind = PlayerCommand::Kind;
  switch (command.kind) {
  case Kind::LoadFile:
    load(command.path1, command.path2);
    break;
  case Kind::Pause:
    forEachChannel([](MpvChannel& c) { c.command({"cycle", "pause"}); });
    break;
  case Kind::Stop:
    stop();
    break;
  case Kind::Seek:
    seek(command.value, command.absolute);
    break;
  case Kind::SpeedSet:
    setSpeedLevel(command.value);
    break;
  case Kind::SpeedIncrement:
    setSpeedLevel(m_speedLevel + command.value);
    break;
  case Kind::Brightness:
    setBrightness(command.value);
    break;
  case Kind::Volume:
    setVolume(command.value);
    break;
  case Kind::GetTimeLength:
    reportDuration();
    break;
  case Kind::FrameStep:
    forEachChannel([](MpvChannel& c) { c.command({"frame-step"}); });
    break;
  case Kind::FrameBackStep:
    frameBackStep();
    break;
  case Kind::HardwareDecoding:
    setHardwareDecoding(command.value != 0.0);
    break;
  case Kind::Quit:
    return false;
  }
  return true;
}

template <typename Action> void PlayerSession::forEachChannel(Action action) {
  action(*m_primary);
  if (m_secondaryInUse)
    action(*m_secondary);
}

void PlayerSession::load(const std::string& path1, const std::string& path2) {
  m_path1 = path1;
  m_path2 = path2;
  m_staleEntry = m_currentEntry;
  m_stopRequested = false;
  m_phase = Phase::Loading;
  m_decoding.reset();
  holdFrameReports();

  // One decoder serves both channels when they show the same recording.
  const bool secondNeeded = path2 != path1;
  if (secondNeeded && !m_secondary)
    m_secondary = makeChannel(kChannel2);
  if (m_secondary && m_secondaryInUse && !secondNeeded)
    m_secondary->command({"stop"});
  m_secondaryInUse = secondNeeded && m_secondary != nullptr;

  // A new recording plays at the normal rate even after a pause; the
  // brightness stays, also for a second decoder made just now.
  setSpeedLevel(PlaybackLevels::kNormalSpeedLevel);
  forEachChannel([this](MpvChannel& c) {
    c.command({"set", "pause", "no"});
    c.command({"vf", "set", m_videoFilters.c_str()});
  });
  m_primary->command({"loadfile", path1.c_str(), "replace"});
  if (m_secondaryInUse)
    m_secondary->command({"loadfile", path2.c_str(), "replace"});
}

void PlayerSession::stop() {
  if (m_phase == Phase::Idle)
    return;
  m_stopRequested = true;
  forEachChannel([](MpvChannel& c) { c.command({"stop"}); });
}

// libmpv meets a seek past the end with an early end of file at the last key
// picture; such a seek lands on the last picture instead.
void PlayerSession::seek(double seconds, bool absolute) {
  const double lastPicture = m_duration - 1.0 / (m_fps > 0.0 ? m_fps.load() : kFallbackFps);
  const double target = absolute ? seconds : m_timePos + seconds;
  const bool pastTheEnd = m_duration > 0.0 && target > lastPicture;
  const std::string value = formatDecimal(pastTheEnd ? std::max(0.0, lastPicture) : seconds);
  const char* mode = absolute || pastTheEnd ? "absolute+exact" : "relative";
  holdFrameReports();
  forEachChannel([&](MpvChannel& c) { c.command({"seek", value.c_str(), mode}); });
}

// libmpv steps back by seeking, so the reports wait for the new picture as after a seek.
void PlayerSession::frameBackStep() {
  holdFrameReports();
  forEachChannel([](MpvChannel& c) { c.command({"frame-back-step"}); });
}

void PlayerSession::setSpeedLevel(double level) {
  m_speedLevel = PlaybackLevels::clampSpeedLevel(level);
  const double rate = PlaybackLevels::speedRate(m_speedLevel);
  forEachChannel([rate](MpvChannel& c) { c.setDouble("speed", rate); });
}

void PlayerSession::setBrightness(double level) {
  const double brightness = PlaybackLevels::eqBrightness(level);
  // The neutral level takes the filter away instead of running it for nothing.
  m_videoFilters = brightness == 0.0 ? std::string() : "@eq:lavfi-eq=brightness=" + formatDecimal(brightness);
  forEachChannel([this](MpvChannel& c) { c.command({"vf", "set", m_videoFilters.c_str()}); });
}

void PlayerSession::setVolume(double level) { m_primary->setDouble("volume", PlaybackLevels::mpvVolume(level)); }

// libmpv changes the decoder of a playing recording in place; the choice is
// said again with the next recording.
void PlayerSession::setHardwareDecoding(bool hardware) {
  forEachChannel([hardware](MpvChannel& c) { c.setString("hwdec", DecodingMonitor::hwdecOption(hardware)); });
}

void PlayerSession::reportDuration() {
  m_reportedDuration = static_cast<float>(m_duration);
  m_host.report(player::kEventDuration, reinterpret_cast<intptr_t>(&m_reportedDuration));
}

void PlayerSession::drainEvents() {
  while (const mpv_event* event = m_primary->nextEvent())
    onEvent(*event);
  if (m_secondary) {
    while (m_secondary->nextEvent()) {
      // The second channel follows the first; its own events change nothing.
    }
  }
}

void PlayerSession::onEvent(const mpv_event& event) {
  switch (event.event_id) {
  case MPV_EVENT_START_FILE:
    m_currentEntry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
    break;
  case MPV_EVENT_FILE_LOADED:
    onFileLoaded();
    break;
  case MPV_EVENT_PLAYBACK_RESTART:
    onPlaybackRestart();
    break;
  case MPV_EVENT_END_FILE:
    onEndFile(*static_cast<const mpv_event_end_file*>(event.data));
    break;
  case MPV_EVENT_PROPERTY_CHANGE:
    onPropertyChange(event.reply_userdata, *static_cast<const mpv_event_property*>(event.data));
    break;
  default:
    break;
  }
}

void PlayerSession::onPropertyChange(uint64_t reply, const mpv_event_property& property) {
  if (property.format != MPV_FORMAT_DOUBLE)
    return;
  const double value = *static_cast<const double*>(property.data);
  if (reply == kTimePosReply)
    m_timePos = value;
  else
    m_decoding.onCount(reply, value);
}

void PlayerSession::onFileLoaded() {
  if (m_phase != Phase::Loading)
    return;
  if (!m_primary->hasProperty("current-tracks/video/id")) {
    failRecording("player: no video track in " + m_path1);
    m_primary->command({"stop"});
    return;
  }
  measureRecording();
  m_timePos = 0.0;
  m_phase = Phase::Playing;
  // A pending quit means the GUI thread may be waiting for the player's end,
  // and the length event makes the engine wait for the GUI thread.
  if (m_host.quitPending() || stopFlagSet())
    return;
  // The position of the recording played before must not outlive it.
  m_host.report(player::kEventPosition, 0);
  m_streamInfo.length = m_length;
  m_host.report(player::kEventLength, reinterpret_cast<intptr_t>(&m_streamRecord));
  m_host.report(player::kEventPlaying);
}

void PlayerSession::onPlaybackRestart() {
  m_timePos = m_primary->getDouble("time-pos", m_timePos);
  if (const std::string choice = m_decoding.takeChoiceLine(*m_primary, m_host.hardwareDecoding()); !choice.empty())
    m_host.diagnostic(choice);
  deliver(m_reportGate.restart(m_timePos, m_primary->rendersBegun()), FrameReportGate::Waiting::Yes);
}

void PlayerSession::holdFrameReports() { m_reportGate.hold(m_primary->rendersBegun()); }

// The sample tables give the exact frame count and rate; libmpv's estimates
// stand in for recordings that are not plain MP4.
void PlayerSession::measureRecording() {
  if (const std::optional<Mp4VideoTrack::Info> track = Mp4VideoTrack::read(m_path1)) {
    m_fps = track->frameRate;
    m_length = track->frames;
    m_duration = track->frames / track->frameRate;
    return;
  }
  double fps = m_primary->getDouble("container-fps", 0.0);
  if (!(fps > 0.0))
    fps = kFallbackFps;
  m_duration = m_primary->getDouble("duration", 0.0);
  int64_t frames = m_primary->getInt("estimated-frame-count", 0);
  if (frames <= 0)
    frames = std::llround(m_duration * fps);
  m_fps = fps;
  m_length = static_cast<uint32_t>(std::clamp<int64_t>(frames, 0, UINT32_MAX));
}

void PlayerSession::onEndFile(const mpv_event_end_file& end) {
  if (end.playlist_entry_id <= m_staleEntry || m_phase == Phase::Idle)
    return;
  switch (end.reason) {
  case MPV_END_FILE_REASON_STOP:
    if (m_stopRequested) {
      m_phase = Phase::Idle;
      m_stopRequested = false;
      endRecording(nullptr);
    }
    break;
  case MPV_END_FILE_REASON_ERROR:
    failRecording("player: cannot play " + m_path1 + ": " + mpv_error_string(end.error));
    break;
  case MPV_END_FILE_REASON_EOF:
    if (m_phase == Phase::Loading)
      failRecording("player: cannot play " + m_path1);
    else
      finishRecording();
    break;
  default:
    break;
  }
}

// The engine leaves its playing state only from the playing state, so a
// recording that never played is still announced as begun before its end.
void PlayerSession::failRecording(const std::string& why) {
  m_phase = Phase::Idle;
  m_host.diagnostic(why);
  m_host.report(player::kEventPlaying);
  endRecording(nullptr);
}

// The end of the file is the recording's end wherever it comes (a file cut
// while it played): the last report names the length, so the engine and the
// window end it as any other.
void PlayerSession::finishRecording() {
  m_phase = Phase::Idle;
  const double fps = m_fps;
  const double playedTo = m_timePos;
  if (m_duration > 0.0 && playedTo + kCutShortFrames / fps < m_duration) {
    m_host.diagnostic("player: " + m_path1 + " ends at " + formatDecimal(playedTo) + " s of " +
                      formatDecimal(m_duration) + " s; the recording is cut short");
  }
  uint32_t position = m_length;
  endRecording(&position);
}

// The end is delivered in the newest turn, so no report decided before it
// follows it: the engine compares the last position with the length.
void PlayerSession::endRecording(const uint32_t* position) {
  if (const std::string dropped = DecodingMonitor::droppedLine(m_decoding.dropped(), m_length); !dropped.empty())
    m_host.diagnostic(dropped);
  const FrameReportGate::Report end =
      m_reportGate.holdForEnd(m_primary->rendersBegun(), m_timePos, m_frames.front(kChannel1));
  const FrameReportGate::Turn turn(m_reportGate, end.ticket, FrameReportGate::Waiting::Yes);
  if (position)
    reportFrame(*position, end.seconds, end.image);
  m_host.report(player::kEventRecordingEnded);
}

uint32_t PlayerSession::frameIndexAt(double seconds) const {
  const uint32_t length = m_length;
  const long long index = std::llround(std::max(0.0, seconds) * m_fps.load());
  return static_cast<uint32_t>(std::min<long long>(index, length > 0 ? length - 1 : 0));
}

void PlayerSession::show(int window, int channel) {
  if (const std::shared_ptr<FrameMailbox>& mailbox = m_windows[window].mailbox)
    mailbox->post(channel);
}

void PlayerSession::onFrameShown(const uint8_t* image, uint64_t render) {
  show(kChannel1, kChannel1);
  if (!m_secondaryInUse)
    show(kChannel2, kChannel1);
  deliver(m_reportGate.shown(render, m_timePos, image), FrameReportGate::Waiting::No);
}

void PlayerSession::deliver(const FrameReportGate::Report& report, FrameReportGate::Waiting waiting) {
  if (!report)
    return;
  const FrameReportGate::Turn turn(m_reportGate, report.ticket, waiting);
  if (turn.taken())
    reportFrame(frameIndexAt(report.seconds), report.seconds, report.image);
}

void PlayerSession::reportFrame(uint32_t index, double seconds, const uint8_t* image1) {
  player::FrameReport report{};
  report.width = FrameStore::kWidth;
  report.height = FrameStore::kHeight;
  report.bitsPerPixel = 32;
  report.frameIndex = index;
  report.secondsPlayed = static_cast<float>(seconds);
  report.frameBytes = FrameStore::kBytes;
  report.frame1 = image1;
  report.frame2 = m_secondaryInUse ? m_frames.front(kChannel2) : image1;
  // The engine may copy the named pictures until it has taken the next report.
  const int channels = m_secondaryInUse ? 2 : 1;
  m_frames.beginReport(kChannel1, report.frame1);
  if (channels == 2)
    m_frames.beginReport(kChannel2, report.frame2);
  m_host.report(player::kEventPosition, intptr_t(index));
  m_host.report(player::kEventFrame, reinterpret_cast<intptr_t>(&report));
  for (int channel = 0; channel < channels; ++channel)
    m_frames.endReport(channel);
}
