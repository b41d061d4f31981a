// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAState.h"

#include "engine/QIRAAdap.h"
#include "platform/Diagnostics.h"
#include "telemetry/UdatLocator.h"

#include <algorithm>

QIRAState::~QIRAState() = default;

int QIRAState::Undefined() {
  platform::diagnostic("####method undefined\n");
  return -1;
}

void QIRAState::SendCommand(const char* text) { m_pAdap->SendPlayerCommand(text); }

// A recording without a telemetry area (a camera without GPS, a clip cut by
// another tool) still holds the video the user came for: it plays with the
// no-telemetry flag set. A damaged area refuses the recording.
bool QIRAState::UserDataUsable() {
  const int code = m_pAdap->LoadUserData();
  if (code == 0)
    return true;
  platform::diagnostic("\n!!! Error while parsing user data\n");
  return code == UdatLocator::kNoUdatBox;
}

int QIRAState::SendLoadCommand(const char* path1, const char* path2, std::string& command) {
  m_pAdap->StorePaths(path1, path2);
  if (!UserDataUsable())
    return 16;
  const QIRAAdap::Paths paths = m_pAdap->CurrentPaths();
  command = "qira_loadfile \"" + paths.path1 + "\" \"" + paths.path2 + "\"";
  std::replace(command.begin(), command.end(), '\\', '/');
  SendCommand(command);
  return 0;
}

int QIRAState::OpenPlayer(const char*) { return Undefined(); }
int QIRAState::ClosePlayer() { return Undefined(); }
int QIRAState::StartPlayer(const char*, const char*) { return Undefined(); }
int QIRAState::LoadFile(const char*, const char*) { return Undefined(); }
int QIRAState::Play() { return Undefined(); }
int QIRAState::Stop() { return Undefined(); }
int QIRAState::Pause() { return Undefined(); }
int QIRAState::FrameStep() { return Undefined(); }
int QIRAState::FrameBack() { return Undefined(); }
int QIRAState::Seek(float, bool) { return Undefined(); }
int QIRAState::SetSpeed(float, bool) { return Undefined(); }
int QIRAState::SetBrightness(float, bool) { return Undefined(); }
int QIRAState::SetVolume(float, bool) { return Undefined(); }
int QIRAState::SetVideoPosition(uint8_t, uint32_t, uint32_t, uint32_t, uint32_t) { return Undefined(); }
int QIRAState::SetVideoFrame(uint8_t, uint32_t, uint32_t, uint32_t, uint32_t) { return -1; }
int QIRAState::FlyAway(int) { return Undefined(); }
int QIRAState::StateNumber() { return Undefined(); }
