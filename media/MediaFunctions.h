// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/ClipWriter.h"
#include "media/RecordingRepair.h"

#include <string>

// The clip writer and the repair, as the window reaches them: they live in a
// module of their own ("lumenark-media.dll"), loaded when a clip or a repair
// is first asked for, because FFmpeg's hundred libraries would otherwise load
// before the window's first paint. The commands link the media code directly.
struct MediaFunctions {
  ClipWriter::Result (*previewClip)(const ClipWriter::Request&);
  ClipWriter::Result (*writeClip)(const ClipWriter::Request&);
  std::string (*clipName)(const std::string& recording, double from, double to);
  RecordingRepair::Result (*repair)(const RecordingRepair::Request&);
  std::string (*repairedName)(const std::string& damaged);
};

// The module's one export: its functions, valid for the process's life.
extern "C" {
using MediaFunctionsFn = const MediaFunctions* (*)();
}
constexpr char kMediaFunctionsSymbol[] = "lumenark_media_functions";
