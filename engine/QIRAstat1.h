// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/QIRAState.h"

#include <string>
// A recording is playing (or paused): operations become text commands and
// window messages to the running player.
class QIRAstat1 : public QIRAState {
public:
  using QIRAState::QIRAState;

  int ClosePlayer() override;
  int LoadFile(const char* path1, const char* path2) override;
  int Play() override;
  int Stop() override;
  int Pause() override;
  int FrameStep() override;
  int FrameBack() override;
  int Seek(float value, bool relative) override;
  int SetSpeed(float value, bool relative) override;
  int SetBrightness(float value, bool relative) override;
  int SetVolume(float value, bool relative) override;
  int SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int FlyAway(int window) override;
  int StateNumber() override { return 1; }
  void PrintStateName() override;

private:
  // Moves the channel's video window; 0 moved, 1 no video window, 2 refused.
  int MoveVideoWindow(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height);
  // Applies a relative or absolute change to `value` and sends it with `format`.
  void SendLevel(std::atomic<int32_t>& value, float change, bool relative, const char* format);

  std::string m_szCommand;
};
