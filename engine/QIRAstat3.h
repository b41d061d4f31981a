// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/QIRAState.h"

#include <atomic>
#include <string>
// The playing recording has ended; the player still runs.
class QIRAstat3 : public QIRAState {
public:
  using QIRAState::QIRAState;

  int ClosePlayer() override;
  int StartPlayer(const char* path1, const char* path2) override;
  int LoadFile(const char* path1, const char* path2) override;
  int Play() override;
  int SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int StateNumber() override { return 3; }
  void PrintStateName() override;

  // How long ClosePlayer waits for the player to end after "quit".
  static constexpr int kQuitWaitMs = 5000;
  // Tests shorten the wait; the program keeps kQuitWaitMs.
  static void SetQuitWaitMs(int milliseconds);

private:
  static std::atomic<int> s_quitWaitMs;
  std::string m_szCommand;
};
