// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/DiagnosticRecorder.h"

#include "platform/Diagnostics.h"
#include "tests/support/MessageRecorder.h"

namespace testing_support {

DiagnosticRecorder::DiagnosticRecorder() {
  platform::setDiagnosticOutput([this](const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_text += text;
  });
}

DiagnosticRecorder::~DiagnosticRecorder() { platform::setDiagnosticOutput({}); }

std::string DiagnosticRecorder::text() const {
  std::lock_guard lock(m_mutex);
  return m_text;
}

bool DiagnosticRecorder::waitForLine(const std::string& line, int timeoutMs) const {
  return waitUntil([&] { return text().find(line) != std::string::npos; }, timeoutMs);
}

} // namespace testing_support
