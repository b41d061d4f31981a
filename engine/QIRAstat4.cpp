// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAstat4.h"

#include "engine/QIRAAdap.h"
#include "engine/QIRAstat0.h"
#include "platform/Diagnostics.h"

void QIRAstat4::PrintStateName() { platform::diagnostic("####stat4\n"); }

int QIRAstat4::ClosePlayer() { return m_pAdap->m_pStat0->ClosePlayer(); }

int QIRAstat4::StartPlayer(const char* path1, const char* path2) {
  m_pAdap->StorePaths(path1, path2);
  if (!UserDataUsable())
    return 16;
  // A library without its entry could never run a player.
  if (!m_pAdap->IsPlayerLibraryLoaded() || !m_pAdap->m_hPlayerLib.Entry())
    return 3;
  if (m_pAdap->m_pPlayerThread)
    return 2;
  if (!m_pAdap->BeginPlayerThread())
    return 3;
  platform::diagnostic("### Thread has begun\n");
  m_pAdap->EnsureMessageThread();
  if (!m_pAdap->m_pMessageThread)
    return 1;
  platform::diagnostic("### Message Thread has begun\n");
  return 0;
}

int QIRAstat4::LoadFile(const char* path1, const char* path2) { return StartPlayer(path1, path2); }

int QIRAstat4::Play() {
  platform::diagnostic("need file path\n");
  return 1;
}

int QIRAstat4::SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  return m_pAdap->m_pStat0->SetVideoPosition(channel, x, y, width, height);
}

int QIRAstat4::SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  return m_pAdap->m_pStat0->SetVideoFrame(channel, x, y, width, height);
}
