// SPDX-License-Identifier: GPL-3.0-or-later
#include "player/FrameStore.h"

#include <gtest/gtest.h>

// Guards the images of a channel: the render thread never draws into
// the reported image nor into the one a window paints from, also when it
// renders on while the window paints.
TEST(FrameStoreTest, RendersNeitherIntoTheFrontNorIntoTheLeasedImage) {
  static FrameStore store; // as in the module: never freed
  for (int channel : {0, 1}) {
    for (int paint = 0; paint < 3; ++paint) {
      const FrameStore::Lease lease(store, channel);
      EXPECT_EQ(lease.image(), store.front(channel));
      for (int render = 0; render < 3; ++render) {
        const uint8_t* reported = store.front(channel);
        uint8_t* drawn = store.back(channel);
        EXPECT_NE(drawn, reported);
        EXPECT_NE(drawn, lease.image());
        EXPECT_EQ(store.publish(channel), drawn);
        EXPECT_EQ(store.front(channel), drawn);
      }
    }
  }
}

// Guards the picture a report named, which the engine may be copying on the
// window's thread: it is not rendered into until the next report is taken,
// whatever the window leases meanwhile.
TEST(FrameStoreTest, KeepsTheReportedImageUntilTheNextReportIsTaken) {
  static FrameStore store;
  const uint8_t* reported = store.publish(0);
  store.beginReport(0, reported);
  store.endReport(0);
  for (int render = 0; render < 4; ++render) {
    const FrameStore::Lease lease(store, 0);
    uint8_t* drawn = store.back(0);
    EXPECT_NE(drawn, reported) << render;
    EXPECT_NE(drawn, lease.image()) << render;
    const uint8_t* next = store.publish(0);
    store.beginReport(0, next);
    EXPECT_NE(store.back(0), reported) << "the report naming the next picture is not taken yet";
    store.endReport(0);
    reported = next;
  }
}
