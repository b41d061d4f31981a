// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MediaModule.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/ModalWatcher.h"

#include <gtest/gtest.h>

// The window reaches the clip writer and the repair through the module it
// loads on first use; a module that cannot be loaded is said, never fatal.
TEST(MediaModule, LoadsOnFirstUseAndAMissingOneIsSaid) {
  const struct {
    const char* module;
    bool loads;
  } cases[] = {{"lumenark-media.dll", true}, {"absent-media.dll", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.module);
    const testing_support::DiagnosticRecorder diagnostics;
    const ModalWatcher watcher;
    const MediaFunctions* media = MediaModule::Functions(nullptr, c.module);
    ASSERT_EQ(media != nullptr, c.loads);
    if (c.loads) {
      EXPECT_EQ(media->repairedName("/card/drf0_20240101_120000.mp4"), "/card/drf0_20240101_120000_repaired.mp4");
      ClipWriter::Request clip;
      clip.recordings = {"/absent.mp4"};
      clip.to = 5;
      EXPECT_FALSE(media->previewClip(clip).error.empty());
    } else {
      EXPECT_EQ(diagnostics.text().rfind("failed to load absent-media.dll: ", 0), 0u) << diagnostics.text();
      EXPECT_EQ(watcher.Messages().size(), 1);
    }
  }
}
