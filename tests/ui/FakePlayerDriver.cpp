// SPDX-License-Identifier: GPL-3.0-or-later
#include "FakePlayerDriver.h"

#include "app/CQIRA02Dlg.h"
#include "engine/QIRAAdap.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat1.h"
#include "engine/QIRAstat9.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/BoxWriter.h"
#include "tests/support/MessageRecorder.h"

#include <future>

namespace {
constexpr int kFireTimeoutMs = 60000;
}

bool FakePlayerDriver::Fire(intptr_t data, uint32_t code) {
  auto fired = std::async(std::launch::async, [=] { return fake_fire(data, code); });
  testing_support::waitUntil([&] { return fired.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
                             kFireTimeoutMs);
  return fired.get();
}

bool FakePlayerDriver::StartPlaying(CQIRA02Dlg& window, const std::vector<std::string>& sentences) {
  // The window loads the library after its first paint.
  if (!m_dir.isValid() || !testing_support::waitUntil([&] { return window.HasFinishedStartUp(); }) ||
      !Fire(0, player::kEventReady))
    return false;
  const std::string recording = m_dir.filePath(QStringLiteral("drf0_20090108_134109.mp4")).toStdString();
  testing_support::BoxWriter()
      .box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0})
      .raw(testing_support::BoxWriter::udat(2000, sentences))
      .writeTo(recording);
  QIRAAdap* engine = window.Adapter();
  engine->SetState(engine->StateNumbered(9));
  if (engine->CurrentState()->LoadFile(recording.c_str(), recording.c_str()) != 0 ||
      !testing_support::waitUntil([] { return fake_entry_running(); }))
    return false;
  return Fire(0, player::kEventPlaying) && engine->CurrentState() == engine->StateNumbered(1);
}
