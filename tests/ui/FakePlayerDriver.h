// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>
#include <cstdint>
#include <string>
#include <vector>

class CQIRA02Dlg;

// Brings a window's engine to play a recording through the scripted fake
// player module.
class FakePlayerDriver {
public:
  // Fires an event on the fake's thread while the window's thread keeps
  // handling the messages the engine sends it; false when not delivered.
  static bool Fire(intptr_t data, uint32_t code);

  // Library ready, a recording with complete user data opened the way the
  // recording list opens it, and the player reporting that it plays; true
  // once the engine is in its playing state. The recording's first GPS
  // records hold `sentences`.
  bool StartPlaying(CQIRA02Dlg& window, const std::vector<std::string>& sentences = {});

private:
  QTemporaryDir m_dir;
};
