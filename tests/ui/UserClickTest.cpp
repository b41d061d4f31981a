// SPDX-License-Identifier: GPL-3.0-or-later
// The window clicked with real mouse events, starting from the values the
// process starts with (no rate preset), through the scripted fake player.
#include "FakePlayerDriver.h"
#include "MainWindowFixture.h"

#include "engine/PlaybackValues.h"
#include "engine/PlayerContract.h"
#include "tests/fakeplayer/FakePlayerControl.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/MessageRecorder.h"

#include <QCoreApplication>
#include <gmock/gmock.h>

namespace {

using testing::ElementsAre;
using testing_support::waitUntil;

class UserClickTest : public MainWindowFixture {
protected:
  std::string LibraryName() const override { return "fakeplayer.dll"; }

  void SetUp() override {
    fake_reset();
    MainWindowFixture::SetUp();
  }

  void TearDown() override {
    fake_release_entry();
    waitUntil([] { return !fake_entry_running(); });
  }

  void Click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    QCoreApplication::processEvents(); // the slider posts its scroll
  }

  // Clicks at a quarter, the middle and three quarters of the position slider.
  void ClickAlongThePositionSlider() {
    CImageSlider* slider = Slider(IDC_POSITION_SLIDER);
    for (int quarter = 1; quarter <= 3; ++quarter)
      Click(slider, QPoint(slider->width() * quarter / 4, slider->height() / 2));
  }

  std::vector<std::string> Commands() {
    std::vector<std::string> commands;
    char text[512];
    for (int i = 0; fake_command(i, text, sizeof text); ++i)
      commands.emplace_back(text);
    return commands;
  }
};

// Play with nothing loaded opens the sliders; a click on the position slider
// then divided by the rate that was still 0 and killed the process.
TEST_F(UserClickTest, PositionSliderWithNothingLoadedDoesNotSeek) {
  ASSERT_TRUE(FakePlayerDriver::Fire(0, player::kEventReady)); // as the module does when it is set up
  const testing_support::DiagnosticRecorder diagnostics;
  Click(Button(IDC_PLAY), Button(IDC_PLAY)->rect().center());
  ASSERT_TRUE(Window().IsRecordingOpen());
  ClickAlongThePositionSlider();
  const std::string output = diagnostics.text();
  EXPECT_THAT(output, testing::HasSubstr("need file path"));
  EXPECT_TRUE(Commands().empty());
  EXPECT_TRUE(Window().isVisible());
}

// Once the player reports length and duration, the same clicks seek to the
// whole second under the thumb.
TEST_F(UserClickTest, PositionSliderSeeksOnceTheDurationIsKnown) {
  FakePlayerDriver driver;
  ASSERT_TRUE(driver.StartPlaying(Window()));
  Click(Button(IDC_PLAY), Button(IDC_PLAY)->rect().center());
  static player::StreamInfo info{};
  static player::StreamRecord record{};
  info.length = 300;
  record.info = &info;
  ASSERT_TRUE(FakePlayerDriver::Fire(reinterpret_cast<intptr_t>(&record), player::kEventLength));
  const float seconds = 10.0f;
  ASSERT_TRUE(FakePlayerDriver::Fire(reinterpret_cast<intptr_t>(&seconds), player::kEventDuration));
  ASSERT_EQ(g_Playback.nPosUnitsPerSecond, 31);
  const size_t before = Commands().size();
  Click(Slider(IDC_POSITION_SLIDER), Slider(IDC_POSITION_SLIDER)->rect().center());
  std::vector<std::string> sent = Commands();
  sent.erase(sent.begin(), sent.begin() + std::ptrdiff_t(before));
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0], "pause");
  const int position = Slider(IDC_POSITION_SLIDER)->GetPos();
  EXPECT_EQ(sent[1], "seek " + std::to_string(position / 31) + ".00 2");
}

} // namespace
