// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CQIRA02Dlg.h"
#include "bench/support/ViewerApplication.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"

#include <QAbstractButton>
#include <chrono>
#include <string>

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

// A benchmark's child: the viewer plays `file` with `watcher` filtering every
// event of the application; `measure` takes the playing window and gives the
// process's exit code (2 when the recording did not load).
template <typename Measure>
int PlayInViewer(const char* programName, QObject& watcher, const char* file, Measure measure) {
  int argc = 1;
  std::string name = programName;
  char* argv[] = {name.data(), nullptr};
  ViewerApplication application(argc, argv);
  application.installEventFilter(&watcher);
  CQIRA02Dlg* window = StartPlayingViewer(file);
  return window ? measure(*window) : 2;
}

// A 640 x 480 recording with the demo card's picture and sound.
inline bool MakeWindowSizedRecording(const std::string& path, int seconds) {
  TestRecording::Options options;
  options.width = 640;
  options.height = 480;
  options.seconds = seconds;
  options.audio = true;
  return TestRecording::make(options, path);
}
