// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/make-sample-card/RecordingOptions.h"

#include <cstdint>
#include <string>
#include <vector>

// Writes one sample recording: the MP4 file, then its top-level "udat" box,
// then the faults the options ask for. Errors throw std::runtime_error.
class RecordingWriter {
public:
  explicit RecordingWriter(const RecordingOptions& options);

  // Returns the whole second of the drive where the hard brake begins.
  int Write(const std::string& path) const;
  // Leaves a finished recording as a power loss at `fraction` of its media
  // data would have left it (Fault::PowerCut).
  static void CutPower(const std::string& path, double fraction);

private:
  void EncodeVideo(const std::string& path) const;
  void AppendUdat(const std::string& path, const std::vector<uint8_t>& udat) const;
  void SpoilLastBoxSize(const std::string& path, uint32_t size) const;

  const RecordingOptions& m_options;
};
