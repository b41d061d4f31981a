// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/ProgressReport.h"

bool ProgressReport::Report(double share) {
  const int percent = int(share * 100);
  if (m_callback && percent != m_lastPercent)
    m_callback(share);
  m_lastPercent = percent;
  return !(m_cancel && m_cancel->load());
}
