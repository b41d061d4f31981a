// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class DamagedRecording;
class ReferenceRecording;

// Whether a reference was written with the damaged recording's settings,
// judged on the damaged recording's first seconds: its pictures are found
// and decode without an error with the reference's video description, and
// its sound (or its silence) is the reference's.
class ReferenceMatch {
public:
  // Empty when they match, else why not, in the user's words.
  static std::string Mismatch(const DamagedRecording& damaged, const ReferenceRecording& reference);
};
