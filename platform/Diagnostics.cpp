// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace platform {

void diagnostic(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

} // namespace platform
