// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/QIRAState.h"

// Temporary state entered while a recording is opened: forwards every
// operation to the state it was entered from.
class QIRAstat9 : public QIRAState {
public:
  using QIRAState::QIRAState;

  int OpenPlayer(const char* libraryName) override;
  int ClosePlayer() override;
  int StartPlayer(const char* path1, const char* path2) override;
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
  int StateNumber() override { return 9; }
  void PrintStateName() override;

private:
  // The operation on the state this one was entered from.
  template <typename Operation> int Forward(Operation operation);
};
