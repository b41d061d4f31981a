// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/QIRAState.h"
#include "tests/player/EngineHarness.h"

#include <string>

// Starts `recording` in the real player module with the main window and the
// first video window placed as the viewer places them; false when the module
// or the recording did not start.
inline bool StartPlayingAsTheViewer(EngineHarness& harness, const std::string& recording) {
  harness.mainWindow.resize(1010, 790);
  harness.mainWindow.show();
  harness.state().SetVideoPosition(0, 20, 110, 640, 480);
  return harness.openPlayer() == 0 && harness.open(recording) == 0;
}
