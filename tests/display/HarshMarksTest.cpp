// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TelemetryDisplay.h"

#include <gtest/gtest.h>

namespace {

using Kind = HarshMomentDetector::Kind;

QImage canvas() {
  QImage image(1010, 790, QImage::Format_RGB32);
  image.fill(qRgb(20, 20, 20));
  return image;
}

// A 60 s recording: 11 pixels a second from x 33, a mark's centre 6 further.
struct HitCase {
  QPoint point;
  const char* found; // the tooltip, empty for none
};

} // namespace

TEST(HarshMarks, TooltipNamesTheMomentUnderTheMarkOnly) {
  TelemetryDisplay display(TelemetryDisplay::Pictures{canvas(), {}, {}, {}, {}, {}, {}});
  display.SetHarshMoments({{Kind::kHarshBraking, 42.0, 45.0, -1.203f}, {Kind::kImpact, 61.0, 61.2, 1.8f}});
  const HitCase cases[] = {
      {{501, 605}, "Harsh braking, peak -1.20 g"},
      {{495, 605}, "Harsh braking, peak -1.20 g"},
      {{507, 605}, "Harsh braking, peak -1.20 g"},
      {{494, 605}, ""},
      {{501, 580}, ""}, // above the timeline
      {{710, 605}, ""}, // past the recording's end
  };
  for (const HitCase& hit : cases) {
    const auto moment = display.HarshMomentAt(hit.point, 60);
    EXPECT_EQ(moment ? HarshMarks::Describe(*moment) : QString(), QString::fromLatin1(hit.found))
        << hit.point.x() << ',' << hit.point.y();
  }
}

// Drawn once per clearing, in amber at the timeline's foot.
TEST(HarshMarks, DrawnWhereTheHitTestFindsThem) {
  TelemetryDisplay display(TelemetryDisplay::Pictures{canvas(), {}, {}, {}, {}, {}, {}});
  display.SetHarshMoments({{Kind::kHarshBraking, 42.0, 45.0, -1.2f}});
  QImage image = canvas();
  display.DrawHarshMarks(image, 60);
  EXPECT_EQ(QColor(image.pixel(501, 606)).name(), QStringLiteral("#ff9f1c"));
  EXPECT_EQ(image.pixel(520, 606), canvas().pixel(520, 606));
}
