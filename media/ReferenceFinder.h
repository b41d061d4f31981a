// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

class DamagedRecording;
class ReferenceRecording;

// The default reference: the nearest recording before the damaged one (by
// name, which is by time on a card) in its folder that is healthy and has
// the same settings.
class ReferenceFinder {
public:
  // False, with the reason, when the folder holds none.
  static bool Find(const DamagedRecording& damaged, ReferenceRecording& reference, std::string& error);
};
