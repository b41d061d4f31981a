// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The words FFmpeg gives for one of its negative result codes.
class FfmpegError {
public:
  static std::string Text(int result);
};
