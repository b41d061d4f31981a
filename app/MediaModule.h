// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/MediaFunctions.h"

class QWidget;

// Loads the media module once, when a clip or a repair is first asked for,
// and keeps it for the process's life (its threads may run until the end).
class MediaModule {
public:
  // The module's functions; null, after a diagnostic line and a message box
  // over `window`, when it cannot be loaded.
  static const MediaFunctions* Functions(QWidget* window, const char* module = "lumenark-media.dll");
};
