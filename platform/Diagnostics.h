// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace platform {

// Developer diagnostics: printf-style lines on standard output, flushed at once
// so that lines from several threads keep their order.
void diagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Receives each diagnostic as formatted, one at a time.
using DiagnosticOutput = std::function<void(const std::string& text)>;

// Sends the diagnostics to `output` instead, so that a test can wait for a
// line; an empty output restores standard output.
void setDiagnosticOutput(DiagnosticOutput output);

} // namespace platform
