// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What draws OpenGL on this machine. A window with an OpenGL child is
// composed through OpenGL at every repaint; where that is Mesa's software
// rasteriser (no GPU), composing the whole window for each video picture
// costs more than decoding it, so the window stays with plain drawing there.
class OpenGlRenderer {
public:
  // A GPU's renderer answers; none, or a software one, does not. Probed once.
  static bool IsHardware();

  // Whether a GL_RENDERER string names a software rasteriser.
  static bool IsSoftwareName(const char* renderer);
};
