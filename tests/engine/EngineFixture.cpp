// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/EngineFixture.h"

#include "platform/WindowMessage.h"

#include <algorithm>
#include <atomic>
#include <thread>

void EngineFixture::SetUp() {
  fake_reset();
  g_Playback.Reset();
  g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
  ASSERT_TRUE(dir.isValid());
  adap = std::make_unique<QIRAAdap>(&window);
  frame.frameBytes = sizeof image1;
  frame.frame1 = image1;
  frame.frame2 = image2;
}

void EngineFixture::TearDown() {
  QIRAstat3::SetQuitWaitMs(QIRAstat3::kQuitWaitMs);
  fake_release_entry();
  testing_support::waitUntil([] { return !fake_entry_running(); });
  adap.reset();
}

std::string EngineFixture::path(const std::string& name) const {
  return dir.filePath(QString::fromStdString(name)).toStdString();
}

std::string EngineFixture::writeRecording(const std::string& name, uint32_t records,
                                          const std::vector<std::string>& sentences) {
  testing_support::BoxWriter file;
  file.box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0})
      .box("mdat", std::vector<uint8_t>(64, 0xAB))
      .box("moov", std::vector<uint8_t>(32, 0))
      .raw(testing_support::BoxWriter::udat(records, sentences));
  file.writeTo(path(name));
  return path(name);
}

void EngineFixture::loadLibrary() {
  ASSERT_EQ(adap->CurrentState()->OpenPlayer(kFakeModule), 0);
  fire(0, player::kEventReady);
  ASSERT_EQ(stateNumber(), 4);
}

std::string EngineFixture::takeDiagnostics() {
  const std::string text = diagnostics.text();
  const std::string taken = text.substr(std::min(diagnosticsTaken, text.size()));
  diagnosticsTaken = text.size();
  return taken;
}

int EngineFixture::open(const std::string& recording) {
  adap->SetState(adap->StateNumbered(9));
  return adap->CurrentState()->LoadFile(recording.c_str(), recording.c_str());
}

void EngineFixture::reachPlaying(const std::string& recording) {
  loadLibrary();
  ASSERT_EQ(open(recording), 0);
  ASSERT_TRUE(testing_support::waitUntil([] { return fake_entry_running(); }));
  fire(0, player::kEventPlaying);
  ASSERT_EQ(stateNumber(), 1);
}

void EngineFixture::fire(intptr_t data, uint32_t code) {
  // Some events wait for the main thread (the slider's range), so keep its
  // events flowing while the fake reports.
  std::atomic<int> fired{-1};
  std::thread reporter([&] { fired = fake_fire(data, code) ? 1 : 0; });
  testing_support::waitUntil([&] { return fired != -1; }, 60000);
  reporter.join();
  ASSERT_EQ(fired, 1);
}

void EngineFixture::fireLength(uint32_t length) {
  static player::StreamInfo info{};
  static player::StreamRecord record{};
  info.length = length;
  record.info = &info;
  firePointer(&record, player::kEventLength);
}

void EngineFixture::fireFrame(uint32_t position, float seconds) {
  fire(intptr_t(position), player::kEventPosition);
  frame.secondsPlayed = seconds;
  firePointer(&frame, player::kEventFrame);
}

std::vector<std::string> EngineFixture::commands() const {
  std::vector<std::string> list;
  char text[8192];
  for (int i = 0; fake_command(i, text, sizeof text); ++i)
    list.emplace_back(text);
  return list;
}

std::string EngineFixture::lastCommand() const {
  const auto list = commands();
  return list.empty() ? std::string() : list.back();
}

bool EngineFixture::waitForState(QIRAState* state, int timeoutMs) {
  return testing_support::waitUntil([&] { return adap->CurrentState() == state; }, timeoutMs);
}
