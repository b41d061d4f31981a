// SPDX-License-Identifier: GPL-3.0-or-later
// Scripted stand-in for the player module: records what the engine sends and
// fires whatever events a test asks for, from a thread of its own.
#include "engine/PlayerContract.h"
#include "tests/fakeplayer/FakePlayerControl.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

struct FakeState {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::string> commands;
  std::vector<std::string> entryArgs;
  bool entryRunning = false;
  bool releaseEntry = false;
  bool quitReceived = false;
  int entryCalls = 0;
  bool reportStopFlag = true;
  bool readyOnRegister = false;
  bool quitEndsEntry = true;
  void* context = nullptr;
  player::Callback callback = nullptr;
};

FakeState& state() {
  static FakeState instance;
  return instance;
}

player::StopFlag g_stopFlag{0};

bool copyText(const std::vector<std::string>& list, int index, char* out, size_t size) {
  if (index < 0 || size_t(index) >= list.size() || size == 0)
    return false;
  const std::string& text = list[size_t(index)];
  const size_t count = std::min(text.size(), size - 1);
  std::memcpy(out, text.data(), count);
  out[count] = '\0';
  return true;
}

void report(intptr_t data, uint32_t code) {
  player::Callback callback;
  void* context;
  {
    std::lock_guard lock(state().mutex);
    callback = state().callback;
    context = state().context;
  }
  if (callback)
    callback(context, data, code);
}

} // namespace

#ifndef FAKE_WITHOUT_ENTRY
namespace {

bool entryMayReturn(const FakeState& fake) { return fake.releaseEntry || fake.quitReceived || g_stopFlag.load() == 1; }

} // namespace

FAKE_EXPORT int Tamsel(int argc, char** argv) {
  {
    std::lock_guard lock(state().mutex);
    state().entryArgs.assign(argv, argv + argc);
    state().entryRunning = true;
    ++state().entryCalls;
  }
  if (state().reportStopFlag)
    report(reinterpret_cast<intptr_t>(&g_stopFlag), player::kEventStopFlag);
  {
    std::unique_lock lock(state().mutex);
    // The stop flag is polled, as the engine only stores into it.
    while (!entryMayReturn(state()))
      state().changed.wait_for(lock, std::chrono::milliseconds(2));
  }
  report(0, player::kEventPlayerEnded);
  std::lock_guard lock(state().mutex);
  state().entryRunning = false;
  state().changed.notify_all();
  return 0;
}
#endif

FAKE_EXPORT void setInst(void* context) {
  std::lock_guard lock(state().mutex);
  state().context = context;
}

FAKE_EXPORT void setW(player::Callback callback) {
  bool ready;
  {
    std::lock_guard lock(state().mutex);
    state().callback = callback;
    ready = state().readyOnRegister;
  }
  if (ready)
    report(0, player::kEventReady);
}

FAKE_EXPORT int cmd_direct(const char* command) {
  std::lock_guard lock(state().mutex);
  state().commands.emplace_back(command ? command : "");
  if (command && std::strcmp(command, "quit") == 0 && state().quitEndsEntry)
    state().quitReceived = true;
  state().changed.notify_all();
  return 0;
}

FAKE_EXPORT void fake_reset() {
  std::lock_guard lock(state().mutex);
  FakeState& fake = state();
  fake.commands.clear();
  fake.entryArgs.clear();
  fake.releaseEntry = false;
  fake.quitReceived = false;
  fake.entryCalls = 0;
  fake.reportStopFlag = true;
  fake.readyOnRegister = false;
  fake.quitEndsEntry = true;
  g_stopFlag = 0;
}

FAKE_EXPORT int fake_command_count() {
  std::lock_guard lock(state().mutex);
  return int(state().commands.size());
}

FAKE_EXPORT bool fake_command(int index, char* out, size_t size) {
  std::lock_guard lock(state().mutex);
  return copyText(state().commands, index, out, size);
}

FAKE_EXPORT int fake_entry_argc() {
  std::lock_guard lock(state().mutex);
  return int(state().entryArgs.size());
}

FAKE_EXPORT bool fake_entry_arg(int index, char* out, size_t size) {
  std::lock_guard lock(state().mutex);
  return copyText(state().entryArgs, index, out, size);
}

FAKE_EXPORT bool fake_entry_running() {
  std::lock_guard lock(state().mutex);
  return state().entryRunning;
}

FAKE_EXPORT int fake_entry_calls() {
  std::lock_guard lock(state().mutex);
  return state().entryCalls;
}

FAKE_EXPORT bool fake_fire(intptr_t data, uint32_t code) {
  {
    std::lock_guard lock(state().mutex);
    if (!state().callback)
      return false;
  }
  std::thread([data, code] { report(data, code); }).join();
  return true;
}

FAKE_EXPORT void fake_release_entry() {
  std::lock_guard lock(state().mutex);
  state().releaseEntry = true;
  state().changed.notify_all();
}

FAKE_EXPORT void fake_set_report_stop_flag(bool reportFlag) {
  std::lock_guard lock(state().mutex);
  state().reportStopFlag = reportFlag;
}

FAKE_EXPORT void fake_set_ready_on_register(bool ready) {
  std::lock_guard lock(state().mutex);
  state().readyOnRegister = ready;
}

FAKE_EXPORT void fake_set_quit_ends_entry(bool ends) {
  std::lock_guard lock(state().mutex);
  state().quitEndsEntry = ends;
}

FAKE_EXPORT int32_t fake_stop_flag_value() { return g_stopFlag.load(); }

FAKE_EXPORT void* fake_context() {
  std::lock_guard lock(state().mutex);
  return state().context;
}
