// SPDX-License-Identifier: GPL-3.0-or-later
// The video picture put straight onto an X server's screen from the frame
// store, on a private server (the test runs under xvfb-run).
#include "player/X11FrameOutput.h"
#include "player/FrameStore.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kPictureColour = 0xff2080c0;
constexpr QPoint kVideoAt{40, 30};

struct Placement {
  const char* name;
  QSize size;
  bool covered;
  bool put;
};

const Placement kPlacements[] = {
    {"the picture's own size", {FrameStore::kWidth, FrameStore::kHeight}, false, true},
    {"a smaller window, which scales", {320, 240}, false, false},
    {"a window partly covered by another", {FrameStore::kWidth, FrameStore::kHeight}, true, false},
};

TEST(X11FrameOutput, PutsThePictureOnlyWhereItShowsUnscaledAndUncovered) {
  ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
  FrameStore frames;
  ASSERT_GE(frames.sharedMemory(), 0);
  std::fill_n(reinterpret_cast<QRgb*>(frames.back(0)), FrameStore::kBytes / 4, kPictureColour);
  const uint8_t* picture = frames.publish(0);
  for (const Placement& placement : kPlacements) {
    SCOPED_TRACE(placement.name);
    QWidget top, video(&top), cover(&top);
    top.resize(760, 560);
    video.setGeometry(QRect(kVideoAt, placement.size));
    cover.setAutoFillBackground(true);
    cover.setGeometry(kVideoAt.x() + 100, kVideoAt.y() + 100, 50, 50);
    cover.setVisible(placement.covered);
    top.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&top));
    X11FrameOutput output(frames);
    ASSERT_EQ(output.put(video, picture), placement.put);
    if (!placement.put)
      continue;
    const QImage screen =
        top.screen()
            ->grabWindow(top.winId(), kVideoAt.x(), kVideoAt.y(), FrameStore::kWidth, FrameStore::kHeight)
            .toImage();
    for (const QPoint corner : {QPoint(0, 0), QPoint(FrameStore::kWidth - 1, FrameStore::kHeight - 1)})
      EXPECT_EQ(screen.pixel(corner), kPictureColour) << corner.x() << "," << corner.y();
  }
}

} // namespace
