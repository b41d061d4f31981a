// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/MediaDataWalker.h"
#include "telemetry/RecordingFile.h"

#include <string>

class AacFrameProbe;
class ReferenceRecording;

// A recording cut short: its media data is there, its index is not. Only the
// top-level box headers are read to find the data.
class DamagedRecording {
public:
  explicit DamagedRecording(const std::string& path);

  // False, with the reason, when the file is not a recording whose index is
  // missing or cut.
  bool Open(std::string& error);

  const std::string& Path() const { return m_path; }
  const RecordingFile& File() const { return m_file; }
  uint64_t DataBegin() const { return m_begin; }
  uint64_t DataEnd() const { return m_end; }
  // A walker over the media data with the reference's settings; `audio`
  // (may be null: picture only) must outlive it.
  MediaDataWalker Walker(const ReferenceRecording& reference, AacFrameProbe* audio) const;

private:
  bool FindMediaData();

  std::string m_path;
  RecordingFile m_file;
  uint64_t m_begin = 0;
  uint64_t m_end = 0;
};
