// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <mutex>
#include <string>

namespace testing_support {

// Takes the diagnostic lines while it lives, so that a test waits for the line
// a thread writes instead of sleeping and reading standard output.
class DiagnosticRecorder {
public:
  DiagnosticRecorder();
  ~DiagnosticRecorder();
  DiagnosticRecorder(const DiagnosticRecorder&) = delete;
  DiagnosticRecorder& operator=(const DiagnosticRecorder&) = delete;

  std::string text() const;
  // Processes events until `line` has been written; false when the time runs out.
  bool waitForLine(const std::string& line, int timeoutMs = 5000) const;

private:
  mutable std::mutex m_mutex;
  std::string m_text;
};

} // namespace testing_support
