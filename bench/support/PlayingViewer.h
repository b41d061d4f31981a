// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CQIRA02Dlg.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "tests/player/EngineHarness.h"

#include <QAbstractButton>
#include <chrono>

// The viewer as a user runs it: the window opens the player module and plays
// `file`; null when the recording did not load. The window outlives the
// engine's threads, so it is never deleted.
inline CQIRA02Dlg* StartPlayingViewer(const char* file) {
  auto* window = new CQIRA02Dlg(nullptr, "mplayer.dll");
  window->show();
  // The window loads the player module after its first paint.
  EngineHarness::waitFor([&] { return window->HasFinishedStartUp(); }, std::chrono::seconds(10));
  static_cast<QAbstractButton*>(window->GetDlgItem(IDC_PLAY))->click();
  QIRAAdap& engine = *window->Adapter();
  engine.SetState(engine.StateNumbered(9));
  return engine.CurrentState()->LoadFile(file, file) == 0 ? window : nullptr;
}
