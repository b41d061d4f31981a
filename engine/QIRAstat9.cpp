// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/QIRAstat9.h"

#include "platform/Diagnostics.h"

void QIRAstat9::PrintStateName() { platform::diagnostic("####stat Temporary\n"); }

template <typename Operation> int QIRAstat9::Forward(Operation operation) {
  QIRAState* previous = m_pPrev;
  return previous ? operation(*previous) : Undefined();
}

int QIRAstat9::OpenPlayer(const char* libraryName) {
  return Forward([&](QIRAState& s) { return s.OpenPlayer(libraryName); });
}
int QIRAstat9::ClosePlayer() {
  return Forward([&](QIRAState& s) { return s.ClosePlayer(); });
}
int QIRAstat9::StartPlayer(const char* path1, const char* path2) {
  return Forward([&](QIRAState& s) { return s.StartPlayer(path1, path2); });
}
int QIRAstat9::LoadFile(const char* path1, const char* path2) {
  return Forward([&](QIRAState& s) { return s.LoadFile(path1, path2); });
}
int QIRAstat9::Play() {
  return Forward([&](QIRAState& s) { return s.Play(); });
}
int QIRAstat9::Stop() {
  return Forward([&](QIRAState& s) { return s.Stop(); });
}
int QIRAstat9::Pause() {
  return Forward([&](QIRAState& s) { return s.Pause(); });
}
int QIRAstat9::FrameStep() {
  return Forward([&](QIRAState& s) { return s.FrameStep(); });
}
int QIRAstat9::FrameBack() {
  return Forward([&](QIRAState& s) { return s.FrameBack(); });
}
int QIRAstat9::Seek(float value, bool relative) {
  return Forward([&](QIRAState& s) { return s.Seek(value, relative); });
}
int QIRAstat9::SetSpeed(float value, bool relative) {
  return Forward([&](QIRAState& s) { return s.SetSpeed(value, relative); });
}
int QIRAstat9::SetBrightness(float value, bool relative) {
  return Forward([&](QIRAState& s) { return s.SetBrightness(value, relative); });
}
int QIRAstat9::SetVolume(float value, bool relative) {
  return Forward([&](QIRAState& s) { return s.SetVolume(value, relative); });
}
int QIRAstat9::SetVideoPosition(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  return Forward([&](QIRAState& s) { return s.SetVideoPosition(channel, x, y, width, height); });
}
int QIRAstat9::SetVideoFrame(uint8_t channel, uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  return Forward([&](QIRAState& s) { return s.SetVideoFrame(channel, x, y, width, height); });
}
int QIRAstat9::FlyAway(int window) {
  return Forward([&](QIRAState& s) { return s.FlyAway(window); });
}
