// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

class QWidget;

// The application: runs the main window modally; when it ends, so does the
// program.
class CQIRA02App {
public:
  // The window loads the player library by this name (tests give the
  // scripted stand-in's).
  explicit CQIRA02App(std::string playerLibrary = "mplayer.dll") : m_playerLibrary(std::move(playerLibrary)) {}

  // Always false: there is no loop of the application's own after the window.
  // While a player still runs, the process ends here instead: the player's
  // threads keep reporting to the window and drawing into its children until
  // the process ends, so the window must not be torn down under them.
  bool InitInstance();

  // A folder listed at start as if chosen in the folder browser, and a
  // recording of it opened as if double-clicked (empty for none).
  QString m_strStartFolder;
  QString m_strStartRecording;

  // The main window while it runs; null before and after.
  QWidget* m_pMainWnd = nullptr;

private:
  std::string m_playerLibrary;
};
