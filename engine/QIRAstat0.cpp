// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAstat0.h"

#include "engine/QIRAAdap.h"
#include "engine/QIRAstat4.h"
#include "platform/Diagnostics.h"

namespace {

void storeRect(player::VideoPlacement& placement, uint8_t channel, uint32_t x, uint32_t y, uint32_t width,
               uint32_t height) {
  placement.channel[channel == 0 ? 0 : 1] =
      player::VideoRect{uint16_t(x), uint16_t(y), uint16_t(width), uint16_t(height)};
}

} // namespace

void QIRAstat0::PrintStateName() { platform::diagnostic("####stat0\n"); }

int QIRAstat0::OpenPlayer(const char* libraryName) { return m_pAdap->LoadPlayerLibrary(libraryName); }

int QIRAstat0::ClosePlayer() {
  if (!m_pAdap->UnloadPlayerLibrary())
    return 1;
  m_pAdap->ResetPlayerFields();
  return 0;
}

int QIRAstat0::StartPlayer(const char* path1, const char* path2) {
  return m_pAdap->m_pStat4->StartPlayer(path1, path2);
}

int QIRAstat0::LoadFile(const char* path1, const char* path2) {
  StartPlayer(path1, path2);
  return 0;
}

int QIRAstat0::SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  storeRect(m_pAdap->m_VideoPosition, channel, x, y, width, height);
  return 0;
}

int QIRAstat0::SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  storeRect(m_pAdap->m_VideoFrame, channel, x, y, width, height);
  return 0;
}
