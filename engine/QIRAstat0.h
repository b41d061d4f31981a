// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/QIRAState.h"

// Start state: the library is not loaded, or has not yet reported it is ready.
class QIRAstat0 : public QIRAState {
public:
  using QIRAState::QIRAState;

  int OpenPlayer(const char* libraryName) override;
  int ClosePlayer() override;
  int StartPlayer(const char* path1, const char* path2) override;
  int LoadFile(const char* path1, const char* path2) override;
  int SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) override;
  int StateNumber() override { return 0; }
  void PrintStateName() override;
};
