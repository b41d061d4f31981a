// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"
#include "engine/PlayerLibrary.h"
#include "engine/QIRAQ.h"
#include "engine/TelemetryStore.h"
#include "platform/AutoResetEvent.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class QIRAState;
class QIRAstat0;
class QIRAstat1;
class QIRAstat2;
class QIRAstat3;
class QIRAstat4;
class QIRAstat9;
class QObject;

// The library's event callback: forwards to QIRAAdap::HandleEvent on the
// adapter given as context.
void PlayerCallback(void* context, intptr_t data, uint32_t code);

// The one object through which the program drives the player library. It owns
// the six states and switches between them on the library's events, runs the
// player and message threads, answers the library's queries and notifies the
// main window. Fields that cross threads are atomics; the loaded library and
// the telemetry each sit in an owner with its own lock.
//
// Blocking sends to the window. The length event arrives on the player
// library's thread and sends three messages to the position slider (range
// minimum, range maximum, position); each send waits until the window's thread
// has handled it. Every other message from the library's threads to the
// window is posted and waits for nothing. The window's thread must therefore
// never wait for the player without a bound: its one such wait, ClosePlayer in
// the ended state (QIRAstat3), sends "quit" and polls for QIRAstat2 without
// handling messages. Two things keep that wait and the three sends from
// holding each other: the library reports no length for a recording it loads
// while a quit is pending or its stop flag is set, and the wait gives up after
// 5 s (ClosePlayer returns 1), after which the window's thread handles the
// sends. The window's own timed waits run an event loop and so handle them at
// once, and UnloadPlayerLibrary's wait for the player thread is bounded too.
// No send is made while one of the adapter's locks is held, as the window's
// thread takes them.
class QIRAAdap {
public:
  static constexpr size_t kGpsSentenceBytes = TelemetryStore::kGpsSentenceBytes;
  using GpsSentence = TelemetryStore::GpsSentence;
  using GSensor = TelemetryStore::GSensor;

  // Paths of the current recording (channel 1, channel 2); empty means not set.
  struct Paths {
    std::string path1;
    std::string path2;
  };

  explicit QIRAAdap(QObject* notifyWindow);
  virtual ~QIRAAdap();
  QIRAAdap(const QIRAAdap&) = delete;
  QIRAAdap& operator=(const QIRAAdap&) = delete;

  void SetState(QIRAState* state);
  void HandleEvent(intptr_t data, uint32_t code);
  // 0 sent; 1 no video window.
  int RefreshVideoWindow();
  // The trackbar window whose range and position follow the recording.
  void SetPositionSlider(QObject* slider);
  void ResetPlayerFields();
  void MeasureDesktop();
  // 0 found and copied; 1 no path; 2 cannot open; 3 read failed; 4 size
  // unknown; 5 no memory; 6 empty file; 7 no "udat" box.
  int LocateUserData();
  // 0 usable; 1..7 as LocateUserData; 16 + the Parse code (17..20).
  int LoadUserData();
  // Copies of the telemetry buffers; false until the first refresh made them.
  bool ReadTelemetry(GpsSentence& sentence, GSensor& sensor) const;
  // Runs `use` with channel 1's last reported picture and its byte count (null
  // and 0 before any report). The library renders into that picture again only
  // after the next report, which waits until `use` has returned.
  void UseLastPicture(const std::function<void(const uint8_t* image, int32_t bytes)>& use) const;

  // Player library: 0 loaded with its exports; 1 already loaded; 2 no name;
  // 3 an export is missing (the library stays loaded); 4 cannot be loaded.
  int LoadPlayerLibrary(const char* name);
  // False when no library is loaded, the player thread runs on, or the
  // library could not be released.
  bool UnloadPlayerLibrary();
  bool IsPlayerLibraryLoaded() const;

  // Starts the player thread with copies of the current paths; false when a
  // thread could not be made.
  bool BeginPlayerThread();
  // Starts the message thread once for the adapter's life.
  void EnsureMessageThread();

  void StorePaths(const char* path1, const char* path2);
  Paths CurrentPaths() const;

  // The current state, the one before it, and the state of a number (0 to
  // 4 or 9; null for any other).
  QIRAState* CurrentState() const { return m_pCurState.load(); }
  QIRAState* PreviousState() const { return m_pPrevState.load(); }
  QIRAState* StateNumbered(int number) const;
  // Enters the opening state and loads the recording there: LoadFile's result.
  int OpenRecording(const char* path1, const char* path2);
  // One text command through the library's "cmd_direct"; nothing without a library.
  void SendPlayerCommand(const char* text);

  // Playback values, written by the library's threads.
  uint32_t Position() const { return m_nPosition; }
  uint32_t Length() const { return m_nLength; }
  float PlayTime() const { return m_fPlayTime; }
  int32_t PlayedSeconds() const { return m_nPlayTime; }
  float Duration() const { return m_fDuration; }
  int32_t DurationSeconds() const { return m_nDuration; }
  bool UserDataFailed() const { return m_bUserDataFailed != 0; }
  bool IsPlayerThreadRunning() const { return m_pPlayerThread; }
  // The running library's stop flag; null before it runs.
  player::StopFlag* SoftKillFlag() const { return m_pSoftKillFlag; }
  // Channel 1's or 2's video window; null until the library made it.
  QObject* VideoWindow(int channel) const { return channel == 2 ? m_hVideoWnd2 : m_hVideoWnd1; }
  QObject* NotifyWindow() const { return m_hNotifyWnd; }
  QObject* PositionSlider() const { return m_pPositionSlider; }
  const player::VideoPlacement& VideoPosition() const { return m_VideoPosition; }
  const player::VideoPlacement& VideoFrame() const { return m_VideoFrame; }

  // The window's channel count and its size for the two-channel place.
  int32_t Channels() const { return m_nChannels; }
  void SetChannels(int32_t channels) { m_nChannels = channels; }
  int32_t MainWindowWidth() const { return m_nMainWndWidth; }
  int32_t MainWindowHeight() const { return m_nMainWndHeight; }
  void SetMainWindowSize(int32_t width, int32_t height);

  // Owners with their own locks, and the message thread's queue and wake-up.
  PlayerLibrary& Library() { return m_hPlayerLib; }
  const PlayerLibrary& Library() const { return m_hPlayerLib; }
  TelemetryStore& Telemetry() { return m_Telemetry; }
  QIRAQ& Queue() { return m_Queue; }
  platform::AutoResetEvent& WakeEvent() { return m_hWakeEvent; }

private:
  // The states are the adapter's own steps: they read and write its fields.
  friend class QIRAState;
  friend class QIRAstat0;
  friend class QIRAstat1;
  friend class QIRAstat2;
  friend class QIRAstat3;
  friend class QIRAstat4;
  friend class QIRAstat9;

  void PlayerThreadProc(std::string path1, std::string path2);
  void MessageThreadProc();
  void RunHeadCommand();
  void OnFrameReport(const player::FrameReport* report);
  void RefreshTelemetry(uint32_t position, bool lookUp);
  void OnDuration(float seconds);
  void OnRecordingEnded();
  void OnLength(const player::StreamRecord* record);
  void OnPlaying();
  void AnswerQuery(intptr_t data, uint32_t code);
  void StopMessageThread();
  // Waits a little for the player thread to leave the library; false if it runs on.
  bool WaitForPlayerThreadEnd();

  // Made at construction and fixed for the adapter's life.
  QObject* const m_hNotifyWnd;
  std::unique_ptr<QIRAstat0> m_pStat0;
  std::unique_ptr<QIRAstat1> m_pStat1;
  std::unique_ptr<QIRAstat2> m_pStat2;
  std::unique_ptr<QIRAstat3> m_pStat3;
  std::unique_ptr<QIRAstat4> m_pStat4;
  std::unique_ptr<QIRAstat9> m_pStat9;

  // Written through SetState by every thread: the window's, the library's and
  // the message thread.
  std::atomic<QIRAState*> m_pPrevState{nullptr};
  std::atomic<QIRAState*> m_pCurState{nullptr};

  // Owners with their own locks: the loaded library and its exports; the
  // user-data copy and the telemetry buffers.
  PlayerLibrary m_hPlayerLib;
  TelemetryStore m_Telemetry;

  // Written by the player library's threads through its events; cleared by
  // ResetPlayerFields and UnloadPlayerLibrary once the player has ended.
  std::atomic<uint32_t> m_nPosition{0};
  std::atomic<uint32_t> m_nLength{0xFFFFFFFFu};
  std::atomic<float> m_fPlayTime{0.0f};
  std::atomic<int32_t> m_nPlayTime{0};
  std::atomic<float> m_fDuration{0.0f};
  std::atomic<int32_t> m_nDuration{0};
  std::atomic<int32_t> m_nFrameBytes{0};
  std::atomic<const uint8_t*> m_pFrame1{nullptr};
  std::atomic<const uint8_t*> m_pFrame2{nullptr};
  std::atomic<QObject*> m_hVideoWnd1{nullptr};
  std::atomic<QObject*> m_hVideoWnd2{nullptr};
  std::atomic<player::StopFlag*> m_pSoftKillFlag{nullptr};
  // Also written by LoadUserData on the window's thread.
  std::atomic<int32_t> m_bUserDataFailed{0};

  // Written by the window's thread and read by the library's threads;
  // ResetPlayerFields sets them back on whichever thread ends a player run.
  player::VideoPlacement m_VideoPosition{};
  player::VideoPlacement m_VideoFrame{};
  std::atomic<QObject*> m_pPositionSlider{nullptr};
  std::atomic<int32_t> m_nVolume{100};
  std::atomic<int32_t> m_nBrightness{1};
  std::atomic<int32_t> m_nChannels{0};
  std::atomic<int32_t> m_nDesktopWidth{0};
  std::atomic<int32_t> m_nDesktopHeight{0};
  int32_t m_nMainWndWidth = 0;
  int32_t m_nMainWndHeight = 0;
  int32_t m_nReply1 = 0;
  int32_t m_nReply2 = 0;

  // The threads: the window's thread starts them and queues commands; the
  // player thread clears its flag as its last step; the message thread pops
  // the queue; the destructor sets m_bClosing.
  QIRAQ m_Queue;
  platform::AutoResetEvent m_hWakeEvent;
  std::atomic<bool> m_pPlayerThread{false};
  std::atomic<bool> m_pMessageThread{false};
  std::atomic<bool> m_bClosing{false};

  // The current recording's paths, written by the window's thread (and reset
  // when a player run ends), copied by the player thread as it starts.
  mutable std::mutex m_PathLock;
  // Held while the last picture is read and while a frame report replaces it.
  mutable std::mutex m_FrameLock;
  std::string m_pszPath1;
  std::string m_pszPath2;

  std::thread m_PlayerThread;
  std::thread m_MessageThread;
};
