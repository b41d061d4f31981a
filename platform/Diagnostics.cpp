// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Diagnostics.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>

namespace platform {

namespace {

std::mutex& outputLock() {
  static std::mutex lock;
  return lock;
}

DiagnosticOutput& replacedOutput() {
  static DiagnosticOutput output;
  return output;
}

std::string formatted(const char* format, va_list args) {
  va_list sizing;
  va_copy(sizing, args);
  const int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (length <= 0)
    return {};
  std::string text(size_t(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.pop_back();
  return text;
}

} // namespace

void diagnostic(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::lock_guard lock(outputLock());
  if (replacedOutput()) {
    replacedOutput()(formatted(format, args));
  } else {
    std::vprintf(format, args);
    std::fflush(stdout);
  }
  va_end(args);
}

void setDiagnosticOutput(DiagnosticOutput output) {
  std::lock_guard lock(outputLock());
  replacedOutput() = std::move(output);
}

} // namespace platform
