// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/QIRAState.h"

// The library is loaded and ready; no player has been started.
class QIRAstat4 : public QIRAState {
public:
  using QIRAState::QIRAState;

  int ClosePlayer() override;
  int StartPlayer(const char* path1, const char* path2) override;
  int LoadFile(const char* path1, const char* path2) override;
  int Play() override;
  int SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int StateNumber() override { return 4; }
  void PrintStateName() override;
};
