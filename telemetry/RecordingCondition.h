// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Whether a file on the card can be played at all, told from its file system
// entry and its top-level MP4 boxes only (a few header reads, whatever the
// file's size), so a user learns why a recording will not play.
class RecordingCondition {
public:
  enum Kind {
    kPlayable,
    kMissing,      // gone since the list was made
    kNotAFile,     // a folder, a device or a pipe under a recording's name
    kUnreadable,   // no permission, or the card fails
    kEmpty,        // zero bytes
    kNotVideo,     // does not begin as an MP4 file does
    kIndexMissing, // an MP4 whose movie box was never written (power loss)
  };

  static Kind Of(const std::string& path);
  // The reason in the user's words; empty for a playable recording.
  static const char* Reason(Kind kind);

private:
  static Kind OfBoxes(const std::string& path);
};
