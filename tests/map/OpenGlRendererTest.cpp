// SPDX-License-Identifier: GPL-3.0-or-later
#include "map/OpenGlRenderer.h"

#include <gtest/gtest.h>

// Mesa's software rasterisers keep the window with plain drawing; a GPU's
// renderer composes it through OpenGL.
TEST(OpenGlRenderer, SoftwareRasterisersAreToldFromGpus) {
  const struct {
    const char* renderer;
    bool software;
  } cases[] = {
      {"llvmpipe (LLVM 15.0.6, 256 bits)", true},
      {"softpipe", true},
      {"Mesa DRI swrast", true},
      {"Software Rasterizer", true},
      {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false},
      {"AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0-13-amd64)", false},
      {"NVIDIA GeForce GTX 1650/PCIe/SSE2", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(OpenGlRenderer::IsSoftwareName(c.renderer), c.software) << c.renderer;
}
