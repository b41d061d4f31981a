// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

class QIRAAdap;

// One situation of the playback state machine. Every playback operation is
// virtual; an operation a state does not define prints "####method undefined"
// and returns -1. Results: 0 success, a positive code for a refusal.
class QIRAState {
public:
  explicit QIRAState(QIRAAdap* adap) : m_pAdap(adap) {}
  virtual ~QIRAState();

  virtual int OpenPlayer(const char* libraryName);
  virtual int ClosePlayer();
  virtual int StartPlayer(const char* path1, const char* path2);
  virtual int LoadFile(const char* path1, const char* path2);
  virtual int Play();
  virtual int Stop();
  virtual int Pause();
  virtual int FrameStep();
  // One picture back: "frame_back_step" to the running player.
  virtual int FrameBack();
  virtual int Seek(float value, bool relative);
  virtual int SetSpeed(float value, bool relative);
  virtual int SetBrightness(float value, bool relative);
  virtual int SetVolume(float value, bool relative);
  virtual int SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height);
  virtual int SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height);
  virtual int FlyAway(int window);
  virtual int StateNumber();
  virtual void PrintStateName() = 0;

  // The state that was current when this one was last entered.
  std::atomic<QIRAState*> m_pPrev{nullptr};

protected:
  static int Undefined();
  // Sends one text command through the library's "cmd_direct".
  void SendCommand(const char* text);
  void SendCommand(const std::string& text) { SendCommand(text.c_str()); }
  // Stores the paths and, when the recording's user data is usable, composes
  // "qira_loadfile" into `command` and sends it; 16 when it is not.
  int SendLoadCommand(const char* path1, const char* path2, std::string& command);
  // Loads the recording's user data, reporting a failure; true when the
  // recording may play (with its telemetry, or with none when it has no area).
  bool UserDataUsable();

  QIRAAdap* const m_pAdap;
};
