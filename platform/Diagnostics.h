// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// Developer diagnostics: printf-style lines on standard output, flushed at once
// so that lines from several threads keep their order.
void diagnostic(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace platform
