// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/OpenGlRenderer.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <cstring>

namespace {

bool probeHardware() {
  QOpenGLContext context;
  QOffscreenSurface surface;
  surface.create();
  if (!context.create() || !context.makeCurrent(&surface))
    return false;
  const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
  const bool hardware = renderer && !OpenGlRenderer::IsSoftwareName(renderer);
  context.doneCurrent();
  return hardware;
}

} // namespace

bool OpenGlRenderer::IsHardware() {
  static const bool hardware = probeHardware();
  return hardware;
}

bool OpenGlRenderer::IsSoftwareName(const char* renderer) {
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer", "SWR"}) {
    if (std::strstr(renderer, software))
      return true;
  }
  return false;
}
