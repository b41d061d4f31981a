// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/PlayerHost.h"

#include "player/CommandParser.h"

PlayerHost& PlayerHost::instance() {
  static PlayerHost host;
  return host;
}

void PlayerHost::setContext(void* context) { m_context = context; }

void PlayerHost::setCallback(player::Callback callback) {
  m_callback = callback;
  report(player::kEventReady);
}

void PlayerHost::report(uint32_t code, intptr_t data) const {
  if (player::Callback callback = m_callback)
    callback(m_context, data, code);
}

void PlayerHost::diagnostic(const std::string& text) const {
  report(player::kEventDiagnostic, reinterpret_cast<intptr_t>(text.c_str()));
}

void PlayerHost::submitText(const char* text) {
  CommandParser parser;
  std::optional<PlayerCommand> command = parser.parse(text);
  if (!command) {
    diagnostic(parser.errorText());
    return;
  }
  submit(std::move(*command));
}

// The decoding choice is a setting: the window may send it before any
// recording is played, and a running player applies it at once.
void PlayerHost::submit(PlayerCommand command) {
  const bool setting = command.kind == PlayerCommand::Kind::HardwareDecoding;
  if (setting)
    m_hardwareDecoding = command.value != 0.0;
  if (!m_running) {
    if (!setting)
      diagnostic("player: no recording is being played, command ignored");
    return;
  }
  if (command.kind == PlayerCommand::Kind::Quit)
    m_quitPending = true;
  m_inbox.push(std::move(command));
}

bool PlayerHost::beginRun() {
  if (m_running.exchange(true))
    return false;
  m_stopFlag = 0;
  m_quitPending = false;
  return true;
}

void PlayerHost::endRun() {
  m_running = false;
  m_inbox.clear();
}

FrameStore& PlayerHost::frames() {
  std::call_once(m_framesMade, [this] { m_frames = std::make_unique<FrameStore>(); });
  return *m_frames;
}
