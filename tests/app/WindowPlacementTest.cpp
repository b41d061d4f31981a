// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowLayout.h"
#include "app/PlaybackCommands.h"
#include "app/WindowBuilder.h"

#include <QWidget>
#include <gtest/gtest.h>

// One channel centres the client area 60 pixels up and never leaves the
// screen's top left; two channels take the developer's place at the stored size.
TEST(WindowPlacement, ChannelCountPlacesTheWindow) {
  const QSize stored(1300, 900);
  const struct {
    int channels;
    QRect screen;
    QRect client;
    QPoint topLeft;
    QSize size;
  } cases[] = {
      {1, {0, 0, 1920, 1080}, {0, 0, 1010, 790}, {455, 85}, {layout::kWindowWidth, layout::kWindowHeight}},
      {1, {100, 40, 1920, 1080}, {0, 0, 1010, 790}, {555, 125}, {layout::kWindowWidth, layout::kWindowHeight}},
      {1, {0, 0, 800, 600}, {0, 0, 1010, 790}, {0, 0}, {layout::kWindowWidth, layout::kWindowHeight}},
      {2, {0, 0, 1920, 1080}, {0, 0, 1010, 790}, {5, 169}, stored},
  };
  for (const auto& c : cases) {
    const PlaybackCommands::WindowPlace place =
        PlaybackCommands::PlaceForChannels(c.channels, c.screen, c.client, stored);
    EXPECT_EQ(place.topLeft, c.topLeft) << c.channels << " channels on " << c.screen.width();
    EXPECT_EQ(place.size, c.size) << c.channels << " channels";
  }
}

// Every control of the template is made, dressed at its run-time place, with no engine.
TEST(WindowBuilder, DressesEveryTemplateControlWithoutAnEngine) {
  QWidget window;
  const ControlMap controls = WindowBuilder::CreateControls(&window);
  WindowBuilder::Dress(controls);
  for (const layout::TemplateControl& control : layout::kTemplate)
    ASSERT_TRUE(controls.value(control.id)) << control.id;
  for (const layout::Place& place : layout::kRuntimeLayout)
    EXPECT_EQ(controls.value(place.id)->geometry(), place.rect) << place.id;
  EXPECT_TRUE(controls.value(IDC_TIME_SET)->isHidden());
}
