// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

// The application: runs the main window modally; when it ends, so does the
// program.
class CQIRA02App {
public:
  // Always false: there is no loop of the application's own after the window.
  bool InitInstance();

  // The main window while it runs; null before and after.
  QWidget* m_pMainWnd = nullptr;
};
