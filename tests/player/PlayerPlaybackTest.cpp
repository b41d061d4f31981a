// SPDX-License-Identifier: GPL-3.0-or-later
// The real player module driven through the engine, on generated recordings.
#include "engine/PlaybackValues.h"
#include "engine/QIRAState.h"
#include "engine/QIRAstat0.h"
#include "tests/player/EngineHarness.h"
#include "tests/player/TestRecording.h"
#include "tests/support/DiagnosticRecorder.h"
#include "tests/support/ScopedLocale.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <thread>

using namespace std::chrono_literals;
using testing_support::kDecimalCommaLocale;
using testing_support::ScopedLocale;

namespace {

constexpr auto kStartTimeout = 10s;
constexpr int kFps = 30;

class PlayerPlaybackTest : public testing::Test {
protected:
  static void SetUpTestSuite() {
    s_dir = new QTemporaryDir();
    TestRecording::Options pattern;
    ASSERT_TRUE(TestRecording::make(pattern, path("pattern.mp4")));
    TestRecording::Options longer;
    longer.seconds = 6;
    longer.audio = true;
    ASSERT_TRUE(TestRecording::make(longer, path("long.mp4")));
    TestRecording::Options colours;
    colours.seconds = 3;
    colours.solidColours = true;
    ASSERT_TRUE(TestRecording::make(colours, path("colours.mp4")));
    TestRecording::Options wide = colours;
    wide.width = 640;
    wide.height = 360;
    ASSERT_TRUE(TestRecording::make(wide, path("wide.mp4")));
  }
  static void TearDownTestSuite() {
    delete s_dir;
    s_dir = nullptr;
  }
  static std::string path(const char* name) { return s_dir->filePath(name).toStdString(); }

  void startPlaying(const char* name) {
    ASSERT_EQ(harness.openPlayer(), 0);
    ASSERT_EQ(harness.open(path(name)), 0);
    ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
  }
  uint32_t position() const { return harness.adap.Position(); }
  // A paused player steps exactly one frame on.
  bool stepsTo(uint32_t expected) {
    harness.state().FrameStep();
    return EngineHarness::waitFor([&] { return position() == expected; }, 2s);
  }
  // Seconds of the recording played per second of the player's clock, over
  // the next frame reports; the first two may still be of the earlier speed.
  double playbackRate(size_t reports) {
    const size_t first = harness.frames().size() + 2;
    const bool reported = harness.waitForEvent(player::kEventFrame, first + reports, 10s);
    EXPECT_TRUE(reported) << "the frame reports stopped";
    if (!reported)
      return 0.0;
    const std::vector<EngineHarness::Frame> frames = harness.frames();
    const EngineHarness::Frame& from = frames.at(first);
    const EngineHarness::Frame& to = frames.at(first + reports - 1);
    return (to.seconds - from.seconds) / std::chrono::duration<double>(to.reportedAt - from.reportedAt).count();
  }

  static QTemporaryDir* s_dir;
  EngineHarness harness;
};

QTemporaryDir* PlayerPlaybackTest::s_dir = nullptr;

bool near(uint8_t value, int expected) { return std::abs(int(value) - expected) <= 12; }

} // namespace

// Guards the whole road of a recording: states, length, duration rule,
// notifications, the end report, replay and the unload after the end.
TEST_F(PlayerPlaybackTest, PlaysToTheEndAndAgainThenUnloadsFromTheEndState) {
  ASSERT_EQ(harness.openPlayer(), 0);
  EXPECT_EQ(harness.stateNumber(), 4);
  harness.state().SetVideoPosition(0, 10, 20, 160, 120);
  ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
  ASSERT_TRUE(harness.waitForState(3, kStartTimeout));
  // The trail notes a change once the library's callback has returned.
  EngineHarness::waitFor([&] { return harness.trail().back() == 3; }, 1s);

  EXPECT_EQ(harness.trail(), (std::vector<int>{0, 4, 9, 1, 3}));
  EXPECT_EQ(harness.adap.Length(), 60u);
  EXPECT_EQ(position(), 60u);
  EXPECT_NEAR(harness.adap.Duration(), 2.0f, 0.05f);
  EXPECT_EQ(g_Playback.nPosUnitsPerSecond, 31);
  EXPECT_GE(harness.mainWindow.notifications, 5);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return harness.mainWindow.ends == 1; }, 1s));

  const std::vector<EngineHarness::Frame> frames = harness.frames();
  ASSERT_GE(frames.size(), 30u); // a busy machine makes libmpv drop frames
  EXPECT_TRUE(std::is_sorted(frames.begin(), frames.end(), [](auto& a, auto& b) { return a.index < b.index; }));
  EXPECT_EQ(frames.back().index, 60u);
  const std::vector<uint32_t> events = harness.events();
  const auto first = [&](uint32_t code) { return std::find(events.begin(), events.end(), code) - events.begin(); };
  const std::vector<uint32_t> start(events.begin() + first(player::kEventStopFlag),
                                    events.begin() + first(player::kEventPlaying) + 1);
  using namespace player;
  EXPECT_EQ(start, (std::vector<uint32_t>{kEventStopFlag, kEventModule, kEventQueryMainWindow, kEventQueryPlacementA,
                                          kEventQueryPlacementB, kEventQueryDesktopWidth, kEventQueryDesktopHeight,
                                          kEventQueryVolume, kEventVideoWindow1, kEventVideoWindow2, kEventPosition,
                                          kEventLength, kEventPlaying}));

  auto* window = static_cast<QWidget*>(harness.adap.VideoWindow(1));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->parentWidget(), &harness.mainWindow);
  EXPECT_EQ(window->geometry(), QRect(10, 20, 160, 120));

  ASSERT_EQ(harness.state().Play(), 0);
  ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
  ASSERT_TRUE(harness.waitForState(3, kStartTimeout));
  EXPECT_TRUE(EngineHarness::waitFor([&] { return harness.mainWindow.ends == 2; }, 1s));

  EXPECT_EQ(harness.state().ClosePlayer(), 0);
  EXPECT_EQ(harness.eventCount(player::kEventPlayerEnded), 1u);
  harness.adap.HandleEvent(0, player::kEventClosed);
  EXPECT_EQ(harness.stateNumber(), 0);
  EXPECT_FALSE(harness.adap.IsPlayerLibraryLoaded());
}

// Guards a snapshot against a picture rendered over while it is copied: the
// last reported picture stays as it was while the engine reads it, however
// long the read takes, and the player plays on after it.
TEST_F(PlayerPlaybackTest, LastPictureStaysWhileTheEngineReadsIt) {
  startPlaying("long.mp4");
  ASSERT_TRUE(harness.waitForEvent(player::kEventFrame, 10, 5s));
  bool unchanged = false;
  harness.adap.UseLastPicture([&](const uint8_t* image, int32_t bytes) {
    ASSERT_TRUE(image && bytes > 0);
    const std::vector<uint8_t> first(image, image + bytes);
    std::this_thread::sleep_for(300ms); // nine pictures' time at 30 a second
    unchanged = std::equal(first.begin(), first.end(), image);
  });
  EXPECT_TRUE(unchanged);
  const size_t reports = harness.eventCount(player::kEventFrame);
  EXPECT_TRUE(harness.waitForEvent(player::kEventFrame, reports + 5, 2s)) << "the player plays on";
}

// Guards the picture's shape: a 16:9 recording keeps it, with black bars
// above and below in the 640 x 480 picture, while a 4:3 one fills it. Each
// case seeks to its own frame, so a picture of the one before cannot pass.
TEST_F(PlayerPlaybackTest, PictureKeepsTheRecordingsShape) {
  const struct {
    const char* name;
    int64_t frame; // within the first second, which is red
    bool bars;
  } cases[] = {{"colours.mp4", kFps / 2, false}, {"wide.mp4", kFps * 4 / 5, true}};
  ASSERT_EQ(harness.openPlayer(), 0);
  for (const auto& c : cases) {
    ASSERT_EQ(harness.open(path(c.name)), 0);
    ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
    harness.state().Pause();
    harness.state().Seek(float(c.frame) / kFps, false);
    ASSERT_TRUE(EngineHarness::waitFor([&] { return harness.lastFrameTaken() == c.frame; }, 2s)) << c.name;
    harness.adap.UseLastPicture([&](const uint8_t* image, int32_t) {
      const auto red = [image](int y) { return image[(y * 640 + 320) * 4 + 2]; };
      EXPECT_GT(red(240), 200) << c.name;
      EXPECT_EQ(red(10) < 30, c.bars) << c.name << ": top row";
      EXPECT_EQ(red(470) < 30, c.bars) << c.name << ": bottom row";
    });
    harness.state().Pause();
  }
}

// Guards the demo card's shortest recording, played through at four times
// the normal rate, to its end.
TEST_F(PlayerPlaybackTest, PlaysADemoCardRecordingToItsEnd) {
  ASSERT_TRUE(TestRecording::makeDemoCard(path("demo")));
  QDir events(QString::fromStdString(path("demo/EventMovie")), "*.mp4", QDir::Size | QDir::Reversed);
  ASSERT_FALSE(events.isEmpty());
  const std::string recording = events.filePath(events.entryList().first()).toStdString();

  ASSERT_EQ(harness.openPlayer(), 0);
  ASSERT_EQ(harness.open(recording), 0);
  ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
  harness.state().SetSpeed(3.0f, false);
  ASSERT_TRUE(harness.waitForState(3, 30s));
  EXPECT_EQ(harness.adap.Length(), 30u * kFps);
  EXPECT_EQ(position(), harness.adap.Length());
  EXPECT_EQ(g_Playback.nPosUnitsPerSecond, kFps + 1);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return harness.mainWindow.ends == 1; }, 1s));
}

// Guards pause, frame steps forward and back, both seeks, the speed levels, stop and the
// handling of a command the module does not know.
TEST_F(PlayerPlaybackTest, CarriesOutTheCommandsWhilePlaying) {
  startPlaying("long.mp4");
  EXPECT_EQ(harness.adap.Length(), 180u);

  harness.state().Pause();
  harness.state().Seek(1.0f, false);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return position() == kFps; }, 2s)) << position();
  EXPECT_TRUE(stepsTo(kFps + 1)) << position();
  EXPECT_TRUE(stepsTo(kFps + 2)) << position();
  harness.state().FrameBack();
  EXPECT_TRUE(EngineHarness::waitFor([&] { return position() == kFps + 1; }, 2s)) << position();

  harness.state().Seek(4.0f, false);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return position() == 120; }, 2s)) << position();
  harness.state().Seek(-2.0f, true);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return position() == 60; }, 2s)) << position();

  const size_t diagnostics = harness.eventCount(player::kEventDiagnostic);
  harness.adap.Library().CmdDirect()("seek fast 9");
  harness.adap.Library().CmdDirect()("qira_loadfile \"only-one\"");
  EXPECT_TRUE(harness.waitForEvent(player::kEventDiagnostic, diagnostics + 2, 1s));

  harness.state().SetSpeed(-1.0f, false);
  harness.state().Pause(); // resume at a quarter of the rate
  const double slowRate = playbackRate(12);
  harness.state().SetSpeed(3.0f, false);
  const double fastRate = playbackRate(12);
  EXPECT_LT(slowRate, 0.5);
  EXPECT_GT(fastRate, 1.5);
  EXPECT_GT(fastRate, 6 * slowRate) << slowRate << " then " << fastRate;

  harness.state().Pause();
  ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
  ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
  EXPECT_TRUE(EngineHarness::waitFor([&] { return position() > 10 && position() < 60; }, 2s))
      << "a paused player loads paused";

  harness.state().Stop();
  ASSERT_TRUE(harness.waitForState(3, 2s));
  EXPECT_LT(position(), harness.adap.Length());
  EXPECT_EQ(harness.mainWindow.ends, 0);
}

// Guards the image format of the frame report (blue, green, red, unused; one
// decoder for equal paths), the picture in the video window, and that
// brightness changes the picture.
TEST_F(PlayerPlaybackTest, FrameImagesCarryTheRecordingsColours) {
  harness.mainWindow.resize(400, 300);
  harness.mainWindow.show();
  harness.state().SetVideoPosition(0, 0, 0, 160, 120);
  startPlaying("colours.mp4");
  harness.state().Pause();
  harness.state().Seek(0.5f, false);
  ASSERT_TRUE(EngineHarness::waitFor([&] { return position() == kFps / 2; }, 2s)) << position();
  auto* window1 = static_cast<QWidget*>(harness.adap.VideoWindow(1));
  ASSERT_NE(window1, nullptr);
  QColor shown;
  const auto showsRed = [&] {
    shown = window1->grab().toImage().pixelColor(80, 60);
    return near(shown.red(), 255) && near(shown.green(), 0) && near(shown.blue(), 0);
  };
  EXPECT_TRUE(EngineHarness::waitFor(showsRed, 2s)) << shown.name().toStdString();
  harness.state().SetBrightness(20.0f, true);
  EXPECT_TRUE(EngineHarness::waitFor(
      [&] {
        const auto frames = harness.frames();
        return !frames.empty() && frames.back().centre1[0] > 80 && frames.back().centre1[2] > 200;
      },
      2s));
  harness.state().SetBrightness(-20.0f, true);
  EXPECT_TRUE(EngineHarness::waitFor(
      [&] {
        const auto frames = harness.frames();
        return !frames.empty() && frames.back().centre1[0] < 20;
      },
      2s));
  harness.clearLog();
  harness.state().Pause();
  ASSERT_TRUE(harness.waitForState(3, kStartTimeout));

  const std::array<std::array<int, 3>, 3> expectedBgr = {{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}}};
  int checked = 0;
  for (const EngineHarness::Frame& frame : harness.frames()) {
    const uint32_t within = frame.index % kFps;
    if (frame.index >= 3 * kFps || within < 3 || within > kFps - 3)
      continue;
    const auto& bgr = expectedBgr[frame.index / kFps];
    EXPECT_TRUE(near(frame.centre1[0], bgr[0]) && near(frame.centre1[1], bgr[1]) && near(frame.centre1[2], bgr[2]))
        << "frame " << frame.index << ": " << int(frame.centre1[0]) << ',' << int(frame.centre1[1]) << ','
        << int(frame.centre1[2]);
    EXPECT_TRUE(frame.sameImageBoth);
    ++checked;
  }
  EXPECT_GE(checked, 20);
}

// Guards the decoder choice on a machine without a video decoder: with the
// hardware decoder asked for, playback falls back to software without a
// message, says so, and shows the same pictures as with it turned off.
TEST_F(PlayerPlaybackTest, FallsBackToSoftwareDecodingAndSaysWhich) {
  struct Case {
    const char* command;
    const char* line;
  };
  const Case cases[] = {{"hardware_decoding 1", "player: no hardware decoder for this recording, decoding in software"},
                        {"hardware_decoding 0", "player: hardware decoding is off, decoding in software"}};
  std::vector<std::array<uint8_t, 4>> firstColours;
  ASSERT_EQ(harness.openPlayer(), 0);
  for (const Case& c : cases) {
    const testing_support::DiagnosticRecorder diagnostics;
    harness.clearLog();
    harness.adap.Library().CmdDirect()(c.command); // before the first recording, then between two
    ASSERT_EQ(harness.open(path("colours.mp4")), 0);
    ASSERT_TRUE(harness.waitForState(3, kStartTimeout)) << c.command;
    EXPECT_TRUE(diagnostics.waitForLine(c.line, 1000)) << diagnostics.text();
    EXPECT_EQ(position(), harness.adap.Length()) << c.command;
    // The colours in the order they showed: a busy machine drops and pairs
    // single pictures differently from run to run, never a colour's second.
    std::vector<std::array<uint8_t, 4>> colours;
    for (const EngineHarness::Frame& frame : harness.frames())
      if (colours.empty() || colours.back() != frame.centre1)
        colours.push_back(frame.centre1);
    if (firstColours.empty())
      firstColours = colours;
    EXPECT_EQ(colours, firstColours) << c.command;
  }
}

// Guards that a frame report carries the picture of its own moment after the
// start and after seeks, playing and paused, when the render thread hands
// its images over late (as on a busy machine).
TEST_F(PlayerPlaybackTest, FrameReportsCarryThePictureOfTheirMoment) {
  qputenv("LUMENARK_TEST_PUBLISH_DELAY_MS", "150");
  startPlaying("colours.mp4");
  qunsetenv("LUMENARK_TEST_PUBLISH_DELAY_MS");
  const std::array<std::array<int, 3>, 3> bgrOfSecond = {{{0, 0, 255}, {0, 255, 0}, {255, 0, 0}}};
  const auto expectPictureOf = [&](const EngineHarness::Frame& frame, int second, const char* when) {
    const auto& bgr = bgrOfSecond[second];
    EXPECT_TRUE(near(frame.centre1[0], bgr[0]) && near(frame.centre1[1], bgr[1]) && near(frame.centre1[2], bgr[2]))
        << when << ": frame " << frame.index << " shows " << int(frame.centre1[0]) << ',' << int(frame.centre1[1])
        << ',' << int(frame.centre1[2]);
  };
  ASSERT_TRUE(harness.waitForEvent(player::kEventFrame, 1, 2s));
  expectPictureOf(harness.frames().front(), 0, "start");

  struct Seek {
    float seconds;
    bool pauseFirst;
  };
  for (const Seek& seek : {Seek{1.5f, false}, Seek{2.5f, true}, Seek{0.5f, false}}) {
    if (seek.pauseFirst)
      harness.state().Pause();
    harness.clearLog();
    harness.state().Seek(seek.seconds, false);
    ASSERT_TRUE(harness.waitForEvent(player::kEventFrame, 1, 2s)) << seek.seconds;
    const EngineHarness::Frame first = harness.frames().front();
    EXPECT_NEAR(first.index, seek.seconds * kFps, 1.0);
    expectPictureOf(first, int(seek.seconds), "after a seek");
  }
}

// Guards two channels of different recordings (two decoders, two images) and
// the return to one decoder, and the engine's window messages to both windows.
TEST_F(PlayerPlaybackTest, ShowsTwoRecordingsInTwoWindows) {
  ASSERT_EQ(harness.openPlayer(), 0);
  ASSERT_EQ(harness.open(path("colours.mp4"), path("long.mp4")), 0);
  ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
  ASSERT_TRUE(harness.waitForEvent(player::kEventFrame, 10, 2s));
  const EngineHarness::Frame twoImages = harness.frames().back();
  EXPECT_FALSE(twoImages.sameImageBoth);
  EXPECT_TRUE(near(twoImages.centre1[2], 255)) << int(twoImages.centre1[2]);
  EXPECT_NE(twoImages.centre1, twoImages.centre2);

  EXPECT_EQ(harness.state().SetVideoPosition(1, 5, 6, 100, 80), 0);
  auto* window2 = static_cast<QWidget*>(harness.adap.VideoWindow(2));
  ASSERT_NE(window2, nullptr);
  EXPECT_EQ(window2->geometry(), QRect(5, 6, 100, 80));
  EXPECT_FALSE(window2->isHidden());
  EXPECT_EQ(harness.state().FlyAway(2), 0);
  EXPECT_TRUE(window2->isHidden());
  EXPECT_EQ(harness.adap.RefreshVideoWindow(), 0);

  ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
  ASSERT_TRUE(harness.waitForState(1, kStartTimeout));
  harness.clearLog();
  ASSERT_TRUE(harness.waitForEvent(player::kEventFrame, 5, 2s));
  EXPECT_TRUE(harness.frames().back().sameImageBoth);
}

// Guards against using a video window after the GUI thread destroyed it (as
// it does with the main window at exit) while frames keep coming.
TEST_F(PlayerPlaybackTest, KeepsPlayingWhenItsWindowsAreDestroyed) {
  harness.mainWindow.show();
  harness.state().SetVideoPosition(0, 0, 0, 160, 120);
  startPlaying("long.mp4");
  // The engine's own message to the window ("get_time_length") has been handled.
  ASSERT_TRUE(harness.waitForEvent(player::kEventDuration, 1, 2s));
  delete static_cast<QWidget*>(harness.adap.VideoWindow(1));
  delete static_cast<QWidget*>(harness.adap.VideoWindow(2));
  harness.clearLog();
  EXPECT_TRUE(harness.waitForEvent(player::kEventFrame, 15, 2s));
}

// Guards the unload of a playing player (stop flag, event 16, chained unload)
// and that the module starts cleanly when loaded again.
TEST_F(PlayerPlaybackTest, UnloadsWhilePlayingAndLoadsAgain) {
  startPlaying("long.mp4");
  EXPECT_EQ(harness.state().ClosePlayer(), 1);
  ASSERT_TRUE(harness.waitForState(0, 5s));
  EXPECT_FALSE(harness.adap.IsPlayerLibraryLoaded());
  EXPECT_EQ(harness.eventCount(player::kEventRecordingEnded), 0u);

  ASSERT_EQ(harness.openPlayer(), 0);
  EXPECT_EQ(harness.stateNumber(), 4);
  ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
  EXPECT_TRUE(harness.waitForState(1, kStartTimeout));
  EXPECT_TRUE(harness.waitForEvent(player::kEventFrame, 5, 2s));
}

// Guards against hangs and crashes on recordings the decoder cannot play: each
// ends with a diagnostic and event 20, and the player still plays a good one.
TEST_F(PlayerPlaybackTest, BadRecordingsEndWithADiagnostic) {
  ASSERT_TRUE(TestRecording::makeUserDataOnly(path("no-media.mp4")));
  ASSERT_TRUE(TestRecording::makeAudioOnly(path("audio-only.mp4"), 2));
  TestRecording::Options cut;
  cut.seconds = 4;
  ASSERT_TRUE(TestRecording::make(cut, path("cut.mp4")));
  ASSERT_TRUE(TestRecording::cutShort(path("cut.mp4"), 0.4));

  ASSERT_EQ(harness.openPlayer(), 0);
  size_t ended = 0;
  for (const char* name : {"no-media.mp4", "audio-only.mp4", "cut.mp4"}) {
    const size_t diagnostics = harness.eventCount(player::kEventDiagnostic);
    ASSERT_EQ(harness.open(path(name)), 0) << name;
    ASSERT_TRUE(harness.waitForEvent(player::kEventRecordingEnded, ++ended, kStartTimeout)) << name;
    EXPECT_GT(harness.eventCount(player::kEventDiagnostic), diagnostics) << name;
    EXPECT_TRUE(harness.waitForState(3, 1s)) << name;
  }
  ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
  EXPECT_TRUE(harness.waitForState(1, kStartTimeout));
}

// A desktop user's locale writes numbers with a comma; the viewer keeps the C
// library's numbers in the C locale and the recording plays and seeks to a
// fraction of a second as anywhere else.
TEST_F(PlayerPlaybackTest, PlaysUnderADecimalCommaLocale) {
  ScopedLocale user(LC_ALL, kDecimalCommaLocale);
  ASSERT_TRUE(user.switched()) << kDecimalCommaLocale << " is missing: scripts/install-deps generates it";
  std::setlocale(LC_NUMERIC, "C"); // as the viewer's start-up does
  startPlaying("long.mp4");
  harness.state().Pause(); // so the position stays where the seek put it
  harness.state().Seek(4.5f, false);
  EXPECT_TRUE(EngineHarness::waitFor([&] { return position() == 135; }, 2s)) << position();
}

// A host that left the user's numeric locale in place learns why nothing
// plays (libmpv refuses to start), and the module plays once it is mended.
TEST_F(PlayerPlaybackTest, NamesTheNumericLocaleWhenTheDecoderRefusesIt) {
  ASSERT_EQ(harness.openPlayer(), 0);
  {
    ScopedLocale numbers(LC_NUMERIC, kDecimalCommaLocale);
    ASSERT_TRUE(numbers.switched()) << kDecimalCommaLocale << " is missing: scripts/install-deps generates it";
    const testing_support::DiagnosticRecorder diagnostics;
    ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
    const bool ended = harness.waitForEvent(player::kEventPlayerEnded, 1, kStartTimeout);
    const std::string output = diagnostics.text();
    ASSERT_TRUE(ended);
    EXPECT_NE(output.find("numeric locale \"C\""), std::string::npos) << output;
    EXPECT_EQ(output.find("memory"), std::string::npos) << output;
  }
  // The player ended; the module is unloaded and loaded again, then plays.
  harness.state().ClosePlayer();
  harness.adap.SetState(harness.adap.StateNumbered(0));
  ASSERT_EQ(harness.openPlayer(), 0);
  ASSERT_EQ(harness.open(path("pattern.mp4")), 0);
  EXPECT_TRUE(harness.waitForState(1, kStartTimeout));
}
