// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PlayerContract.h"
#include "engine/QIRAQ.h"
#include "platform/AutoResetEvent.h"
#include "telemetry/QIRAUDAT.h"

#include <array>
#include <atomic>
#include <cstdint>
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
class QLibrary;
class QObject;

// The library's event callback: forwards to QIRAAdap::HandleEvent on the
// adapter given as context.
void PlayerCallback(void* context, intptr_t data, uint32_t code);

// The one object through which the program drives the player library. It owns
// the six states and switches between them on the library's events, runs the
// player and message threads, answers the library's queries and notifies the
// main window. Fields that cross threads are atomics; the telemetry buffers and
// the user-data copy share one small lock.
class QIRAAdap {
public:
  static constexpr size_t kGpsSentenceBytes = 76;
  using GpsSentence = std::array<char, kGpsSentenceBytes>;
  using GSensor = std::array<float, 3>;

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

  // Starts the player thread with copies of the current paths; false when a
  // thread could not be made.
  bool BeginPlayerThread();
  // Starts the message thread once for the adapter's life.
  void EnsureMessageThread();

  // States (owned).
  std::atomic<QIRAState*> m_pPrevState{nullptr};
  std::atomic<QIRAState*> m_pCurState{nullptr};
  std::unique_ptr<QIRAstat0> m_pStat0;
  std::unique_ptr<QIRAstat1> m_pStat1;
  std::unique_ptr<QIRAstat2> m_pStat2;
  std::unique_ptr<QIRAstat3> m_pStat3;
  std::unique_ptr<QIRAstat4> m_pStat4;
  std::unique_ptr<QIRAstat9> m_pStat9;

  QIRAQ m_Queue;
  QIRAUDAT m_UserData;

  // Playback values.
  std::atomic<uint32_t> m_nPosition{0};
  std::atomic<int32_t> m_bUserDataFailed{0};
  std::atomic<float> m_fPlayTime{0.0f};
  std::atomic<int32_t> m_nPlayTime{0};
  std::atomic<bool> m_bClosing{false};
  QObject* const m_hNotifyWnd;
  std::atomic<const uint8_t*> m_pFrame1{nullptr};
  std::atomic<const uint8_t*> m_pFrame2{nullptr};
  std::atomic<int32_t> m_nFrameBytes{0};
  std::atomic<uint32_t> m_nLength{0xFFFFFFFFu};
  std::atomic<float> m_fDuration{0.0f};
  std::atomic<int32_t> m_nDuration{0};

  // Copy of the recording's user-data area.
  std::unique_ptr<uint8_t[]> m_pUserDataBuf;
  size_t m_nUserDataSize = 0;

  std::atomic<int32_t> m_nDesktopWidth{0};
  std::atomic<int32_t> m_nDesktopHeight{0};
  int32_t m_nReply1 = 0;
  int32_t m_nReply2 = 0;

  // Player library: 0 loaded with its exports; 1 already loaded; 2 no name;
  // 3 an export is missing (the library stays loaded); 4 cannot be loaded.
  int LoadPlayerLibrary(const char* name);
  // False when no library is loaded or it could not be released.
  bool UnloadPlayerLibrary();
  bool IsPlayerLibraryLoaded() const;

  // Exports of the player library.
  std::atomic<player::EntryFn> m_pfnEntry{nullptr};
  std::atomic<player::SetInstFn> m_pfnSetInst{nullptr};
  std::atomic<player::SetWFn> m_pfnSetW{nullptr};
  std::atomic<player::CmdDirectFn> m_pfnCmdDirect{nullptr};

  // Video windows and their placements A (position) and B (frame).
  player::VideoPlacement m_VideoPosition{};
  player::VideoPlacement m_VideoFrame{};
  std::atomic<QObject*> m_hVideoWnd1{nullptr};
  std::atomic<QObject*> m_hVideoWnd2{nullptr};

  // Paths of the current recording (channel 1, channel 2); empty means not set.
  struct Paths {
    std::string path1;
    std::string path2;
  };
  void StorePaths(const char* path1, const char* path2);
  Paths CurrentPaths() const;

  std::atomic<int32_t> m_nVolume{100};
  std::atomic<int32_t> m_nBrightness{1};
  std::atomic<int32_t> m_nChannels{0};
  int32_t m_nMainWndWidth = 0;
  int32_t m_nMainWndHeight = 0;
  std::atomic<player::StopFlag*> m_pSoftKillFlag{nullptr};
  std::atomic<QObject*> m_pPositionSlider{nullptr};

  // Set while the player thread runs the library's entry; the message thread,
  // once started, runs for the adapter's life.
  std::atomic<bool> m_pPlayerThread{false};
  std::atomic<bool> m_pMessageThread{false};

  platform::AutoResetEvent m_hWakeEvent;

private:
  void PlayerThreadProc(std::string path1, std::string path2);
  void MessageThreadProc();
  void RunHeadCommand();
  void OnFrameReport(const player::FrameReport* report);
  void RefreshTelemetry(uint32_t position, bool lookUp);
  uint8_t* SentencePassedOver(uint32_t position, uint32_t positionsPerSecond);
  void OnDuration(float seconds);
  void OnRecordingEnded();
  void OnLength(const player::StreamRecord* record);
  void OnPlaying();
  void AnswerQuery(intptr_t data, uint32_t code);
  void StopMessageThread();
  // Waits a little for the player thread to leave the library; false if it runs on.
  bool WaitForPlayerThreadEnd();

  struct ExportPointers {
    player::EntryFn entry;
    player::SetInstFn setInst;
    player::SetWFn setW;
    player::CmdDirectFn cmdDirect;
  };
  // Clears the four exports, so no thread can reach a library being released.
  ExportPointers TakeExportPointers();
  void RestoreExportPointers(const ExportPointers& exports);

  // Guards the user-data copy (and its consumed records) and both telemetry buffers.
  mutable std::mutex m_TelemetryLock;
  mutable std::mutex m_LibraryLock;
  mutable std::mutex m_PathLock;
  std::string m_pszPath1;
  std::string m_pszPath2;
  std::unique_ptr<QLibrary> m_hPlayerLib;
  std::unique_ptr<GpsSentence> m_pGpsSentence;
  std::unique_ptr<GSensor> m_pGSensor;
  static constexpr uint32_t kNoLookUp = 0xFFFFFFFFu;
  // Position of the previous sentence lookup; kNoLookUp for a new area.
  uint32_t m_nLastLookUp = kNoLookUp;

  std::thread m_PlayerThread;
  std::thread m_MessageThread;
};
