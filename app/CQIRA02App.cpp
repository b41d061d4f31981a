// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CQIRA02App.h"

#include "app/CQIRA02Dlg.h"

bool CQIRA02App::InitInstance() {
  CQIRA02Dlg dlg;
  m_pMainWnd = &dlg;
  dlg.exec();
  m_pMainWnd = nullptr;
  return false;
}
