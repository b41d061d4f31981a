// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAstat3.h"

#include "engine/QIRAAdap.h"
#include "engine/QIRAstat0.h"
#include "engine/QIRAstat2.h"
#include "platform/Diagnostics.h"

#include <chrono>
#include <thread>

std::atomic<int> QIRAstat3::s_quitWaitMs{kQuitWaitMs};

void QIRAstat3::SetQuitWaitMs(int milliseconds) { s_quitWaitMs = milliseconds; }

void QIRAstat3::PrintStateName() { platform::diagnostic("####stat3\n"); }

int QIRAstat3::ClosePlayer() {
  SendCommand("quit");
  // A player that never reports its end must not freeze the caller for good.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(s_quitWaitMs.load());
  while (m_pAdap->m_pCurState.load() != m_pAdap->m_pStat2.get()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return 1;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return m_pAdap->m_pStat2->ClosePlayer();
}

int QIRAstat3::StartPlayer(const char* path1, const char* path2) {
  LoadFile(path1, path2);
  return 0;
}

int QIRAstat3::LoadFile(const char* path1, const char* path2) { return SendLoadCommand(path1, path2, m_szCommand); }

int QIRAstat3::Play() {
  const QIRAAdap::Paths paths = m_pAdap->CurrentPaths();
  if (paths.path1.empty() || paths.path2.empty())
    return 1;
  SendLoadCommand(paths.path1.c_str(), paths.path2.c_str(), m_szCommand);
  return 0;
}

int QIRAstat3::SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  return m_pAdap->m_pStat0->SetVideoPosition(channel, x, y, width, height);
}

int QIRAstat3::SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  return m_pAdap->m_pStat0->SetVideoFrame(channel, x, y, width, height);
}
