// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/player/EngineHarness.h"

#include "engine/QIRAState.h"
#include "engine/QIRAstat0.h"
#include "engine/QIRAstat9.h"
#include "platform/WindowMessage.h"

#include <QCoreApplication>
#include <algorithm>
#include <thread>

std::atomic<EngineHarness*> EngineHarness::s_active{nullptr};

bool EngineHarness::MainWindow::event(QEvent* event) {
  if (event->type() != platform::WindowMessageEvent::kType)
    return QWidget::event(event);
  const auto& message = static_cast<platform::WindowMessageEvent&>(*event);
  if (message.message() == platform::kMsgPlayerNotify)
    ++notifications;
  else if (message.message() == platform::kMsgPlayerEnd)
    ++ends;
  return true;
}

EngineHarness::EngineHarness() {
  s_active = this;
  noteState();
}

EngineHarness::~EngineHarness() {
  shutDown();
  s_active = nullptr;
}

// Ends a player the test left running, so that the adapter can be destroyed.
void EngineHarness::shutDown() {
  if (!adap.IsPlayerLibraryLoaded())
    return;
  if (stateNumber() == 1) {
    state().ClosePlayer();
    waitForState(0, std::chrono::seconds(10));
    return;
  }
  if (adap.IsPlayerThreadRunning()) {
    if (player::StopFlag* flag = adap.SoftKillFlag())
      flag->store(1);
    waitFor([this] { return !adap.IsPlayerThreadRunning(); }, std::chrono::seconds(10));
  }
  adap.StateNumbered(0)->ClosePlayer();
}

int EngineHarness::openPlayer() {
  const int result = state().OpenPlayer("mplayer.dll");
  if (result == 0) {
    adap.Library().SetW()(&EngineHarness::tap);
    noteState();
  }
  return result;
}

QIRAState& EngineHarness::state() { return *adap.CurrentState(); }

int EngineHarness::stateNumber() const { return adap.CurrentState()->StateNumber(); }

int EngineHarness::open(const std::string& path) { return open(path, path); }

int EngineHarness::open(const std::string& path1, const std::string& path2) {
  adap.SetState(adap.StateNumbered(9));
  noteState();
  return state().LoadFile(path1.c_str(), path2.c_str());
}

bool EngineHarness::waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline)
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

bool EngineHarness::waitForState(int number, std::chrono::milliseconds timeout) {
  return waitFor([&] { return stateNumber() == number; }, timeout);
}

bool EngineHarness::waitForEvent(uint32_t code, size_t count, std::chrono::milliseconds timeout) {
  return waitFor([&] { return eventCount(code) >= count; }, timeout);
}

void EngineHarness::tap(void* context, intptr_t data, uint32_t code) {
  if (EngineHarness* harness = s_active)
    harness->record(data, code);
  PlayerCallback(context, data, code);
  if (EngineHarness* harness = s_active) {
    harness->noteState();
    if (code == player::kEventFrame && data)
      harness->m_lastFrameTaken = reinterpret_cast<const player::FrameReport*>(data)->frameIndex;
  }
}

void EngineHarness::record(intptr_t data, uint32_t code) {
  std::lock_guard lock(m_lock);
  m_events.push_back(code);
  m_timed.emplace_back(code, std::chrono::steady_clock::now());
  if (code != player::kEventFrame || !data)
    return;
  const auto* report = reinterpret_cast<const player::FrameReport*>(data);
  Frame frame{report->frameIndex,
              report->secondsPlayed,
              {},
              {},
              report->frame1 == report->frame2,
              std::chrono::steady_clock::now()};
  const size_t centre = (size_t(report->height / 2) * report->width + report->width / 2) * 4;
  std::copy_n(report->frame1 + centre, 4, frame.centre1.begin());
  std::copy_n(report->frame2 + centre, 4, frame.centre2.begin());
  m_frames.push_back(frame);
}

void EngineHarness::noteState() {
  const int number = stateNumber();
  std::lock_guard lock(m_lock);
  if (m_trail.empty() || m_trail.back() != number)
    m_trail.push_back(number);
}

size_t EngineHarness::eventCount(uint32_t code) const {
  std::lock_guard lock(m_lock);
  return size_t(std::count(m_events.begin(), m_events.end(), code));
}

std::vector<uint32_t> EngineHarness::events() const {
  std::lock_guard lock(m_lock);
  return m_events;
}

std::vector<EngineHarness::Frame> EngineHarness::frames() const {
  std::lock_guard lock(m_lock);
  return m_frames;
}

std::vector<int> EngineHarness::trail() const {
  std::lock_guard lock(m_lock);
  return m_trail;
}

void EngineHarness::clearLog() {
  std::lock_guard lock(m_lock);
  m_events.clear();
  m_frames.clear();
  m_timed.clear();
  m_lastFrameTaken = -1;
}

std::chrono::steady_clock::time_point EngineHarness::firstEventAt(uint32_t code) const {
  std::lock_guard lock(m_lock);
  for (const auto& [event, at] : m_timed) {
    if (event == code)
      return at;
  }
  return {};
}
