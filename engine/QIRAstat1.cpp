// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAstat1.h"

#include "engine/QIRAAdap.h"
#include "engine/QIRAstat0.h"
#include "engine/QIRAstat2.h"
#include "platform/DecimalText.h"
#include "platform/Diagnostics.h"
#include "platform/WindowMessenger.h"

#include <cstdio>

namespace {

std::string format(const char* pattern, int value) {
  char text[32];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

} // namespace

void QIRAstat1::PrintStateName() { platform::diagnostic("####stat1\n"); }

int QIRAstat1::ClosePlayer() {
  if (!m_pAdap->IsPlayerLibraryLoaded())
    return 1;
  // Queued before the player is told to stop, so its end cannot outrun the unload.
  m_pAdap->m_Queue.Push(this, m_pAdap->m_pStat2.get(), QIRAQ::kCodeUnload, this);
  if (player::StopFlag* stopFlag = m_pAdap->m_pSoftKillFlag)
    stopFlag->store(1);
  else
    SendCommand("quit"); // the library has not shown its stop flag yet
  return 1;
}

int QIRAstat1::LoadFile(const char* path1, const char* path2) { return SendLoadCommand(path1, path2, m_szCommand); }

int QIRAstat1::Play() {
  SendCommand("pause");
  return 0;
}

int QIRAstat1::Pause() { return Play(); }

int QIRAstat1::Stop() {
  SendCommand("pt_step 1 1");
  return 0;
}

int QIRAstat1::FrameStep() {
  QObject* window = m_pAdap->m_hVideoWnd1;
  if (!window)
    return 1;
  platform::WindowMessenger::send(window, player::kMsgFrameStep);
  return 0;
}

int QIRAstat1::FrameBack() {
  SendCommand("frame_back_step");
  return 0;
}

int QIRAstat1::Seek(float value, bool relative) {
  const std::string seconds = platform::fixedDecimal(value, 2);
  m_szCommand = relative ? "seek " + seconds : "seek " + seconds + " 2";
  SendCommand(m_szCommand);
  return 0;
}

int QIRAstat1::SetSpeed(float value, bool relative) {
  platform::diagnostic("\n=== Seek Value : %s ===\n", platform::fixedDecimal(value, 3).c_str());
  const std::string level = platform::fixedDecimal(value, 2);
  m_szCommand = relative ? "speed_incr " + level : "speed_set " + level + " 1";
  SendCommand(m_szCommand);
  return 0;
}

void QIRAstat1::SendLevel(std::atomic<int32_t>& level, float change, bool relative, const char* pattern) {
  const auto amount = static_cast<int32_t>(change);
  level = relative ? level + amount : amount;
  platform::diagnostic("\n\n\n%d\n\n\n", level.load());
  m_szCommand = format(pattern, level.load());
  SendCommand(m_szCommand);
}

int QIRAstat1::SetBrightness(float value, bool relative) {
  SendLevel(m_pAdap->m_nBrightness, value, relative, "brightness %d 2");
  return 0;
}

int QIRAstat1::SetVolume(float value, bool relative) {
  SendLevel(m_pAdap->m_nVolume, value, relative, "volume %d 2");
  return 0;
}

int QIRAstat1::MoveVideoWindow(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  if (!m_pAdap->m_hVideoWnd1)
    return 1;
  QObject* window = channel == 1 ? m_pAdap->m_hVideoWnd2.load() : m_pAdap->m_hVideoWnd1.load();
  const platform::WindowPos pos{uint16_t(x), uint16_t(y), uint16_t(width), uint16_t(height)};
  return platform::WindowMessenger::setWindowPos(window, pos) ? 0 : 2;
}

int QIRAstat1::SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  if (const int refused = MoveVideoWindow(channel, x, y, width, height))
    return refused;
  return m_pAdap->m_pStat0->SetVideoPosition(channel, x, y, width, height);
}

int QIRAstat1::SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  if (const int refused = MoveVideoWindow(channel, x, y, width, height))
    return refused;
  return m_pAdap->m_pStat0->SetVideoFrame(channel, x, y, width, height);
}

int QIRAstat1::FlyAway(int window) {
  QObject* target = window == 1 ? m_pAdap->m_hVideoWnd1.load() : window == 2 ? m_pAdap->m_hVideoWnd2.load() : nullptr;
  if (!target)
    return 1;
  platform::WindowMessenger::send(target, player::kMsgFlyAwayBegin);
  platform::WindowMessenger::send(target, player::kMsgFlyAwayEnd);
  return 0;
}
