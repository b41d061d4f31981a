// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

extern "C" {
#include <libavutil/avutil.h>
}

// FFmpeg's AV_TIME_BASE_Q is a C compound literal, which strict C++ builds refuse.
constexpr AVRational kMicrosecondTimeBase{1, AV_TIME_BASE};
