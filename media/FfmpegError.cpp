// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/FfmpegError.h"

extern "C" {
#include <libavutil/error.h>
}

std::string FfmpegError::Text(int result) {
  char reason[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(result, reason, sizeof reason);
  return reason;
}
