// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"

#include "app/CQIRA02Dlg.h"
#include "platform/TerminationSignal.h"

#include <cstdio>
#include <cstdlib>

bool CQIRA02App::InitInstance() {
  CQIRA02Dlg dlg(nullptr, m_playerLibrary);
  m_pMainWnd = &dlg;
  dlg.SetStartFolder(m_strStartFolder);
  dlg.SetStartRecording(m_strStartRecording);
  // Asked to terminate, the window closes as its Close entry closes it.
  const TerminationSignal termination([&dlg] { dlg.reject(); });
  dlg.exec();
  if (dlg.IsPlayerRunning()) {
    std::fflush(nullptr);
    std::_Exit(EXIT_SUCCESS);
  }
  m_pMainWnd = nullptr;
  return false;
}
