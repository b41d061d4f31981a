// SPDX-License-Identifier: GPL-3.0-or-later
#include "media/MediaFunctions.h"

extern "C" __attribute__((visibility("default"))) const MediaFunctions* lumenark_media_functions() {
  static const MediaFunctions functions{&ClipWriter::Preview, &ClipWriter::Write, &ClipWriter::DefaultName,
                                        &RecordingRepair::Run, &RecordingRepair::DefaultOutput};
  return &functions;
}
