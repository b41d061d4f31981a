// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/EngineFixture.h"

#include "platform/WindowMessage.h"
#include "tests/engine/TelemetryStoreInspection.h"

#include <QCoreApplication>
#include <cstring>
#include <limits>

namespace {

const char kSentenceA[] = "$GPRMC,101500.000,A,4807.0380,N,01131.0000,E,022.4,084.4,071226,,";
const char kSentenceB[] = "$GPRMC,101502.000,A,4807.0400,N,01131.0100,E,030.0,090.0,071226,,";

class FrameReport : public EngineFixture {
protected:
  // Playing a recording whose position 0 and 6 carry sentences, with the
  // length and the rate known, so every third report refreshes telemetry.
  void startRecording(const std::vector<std::string>& sentences = {kSentenceA, "", "", "", "", "", kSentenceB},
                      float duration = 1.0f) {
    reachPlaying(writeRecording("a.mp4", 30, sentences));
    fireLength(30);
    firePointer(&duration, player::kEventDuration);
    window.clear();
    g_Playback.nTickCount = 0;
  }
  std::vector<testing_support::MessageRecorder::Message> notifications() {
    QCoreApplication::processEvents();
    return window.messages(platform::kMsgPlayerNotify);
  }
  QIRAAdap::GpsSentence sentence{};
  QIRAAdap::GSensor sensor{};
};

TEST_F(FrameReport, EveryThirdReportNotifiesWithLengthAndPosition) {
  startRecording();
  for (uint32_t position = 0; position < 7; ++position)
    fireFrame(position, 0.5f * position);
  ASSERT_TRUE(testing_support::waitUntil([&] { return notifications().size() == 3; }));
  const auto sent = notifications();
  EXPECT_EQ(sent[0].wParam, 30u);
  EXPECT_EQ(sent[0].lParam, 0);
  EXPECT_EQ(sent[1].lParam, 3);
  EXPECT_EQ(sent[2].lParam, 6);
  EXPECT_EQ(g_Playback.nTickCount, 7u);
  EXPECT_FLOAT_EQ(adap->PlayTime(), 3.0f);
  EXPECT_EQ(adap->PlayedSeconds(), 3);
  adap->UseLastPicture([&](const uint8_t* image, int32_t bytes) {
    EXPECT_EQ(image, image1);
    EXPECT_EQ(bytes, int32_t(sizeof image1));
  });
}

TEST_F(FrameReport, SentenceIsCopiedOnceThenOnlySensorsFollow) {
  startRecording();
  fireFrame(0);
  ASSERT_TRUE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_STREQ(sentence.data(), kSentenceA);
  EXPECT_EQ(sensor[0], 0.0f);
  EXPECT_EQ(TelemetryStoreInspection::Lock(adap->Telemetry()).index.GetGpsRecord(0)[0], 0) << "the record is consumed";

  fireFrame(1);
  fireFrame(2);
  fireFrame(3); // a zero record: sentence kept, sensors of position 3
  ASSERT_TRUE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_STREQ(sentence.data(), kSentenceA);
  EXPECT_EQ(sensor[0], 3.0f);
  EXPECT_EQ(sensor[1], -3.0f);
  EXPECT_EQ(sensor[2], 0.5f);

  g_Playback.nTickCount = 0;
  fireFrame(0); // back at a consumed record
  ASSERT_TRUE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_STREQ(sentence.data(), kSentenceA);
  EXPECT_EQ(sensor[0], 0.0f);
}

TEST_F(FrameReport, UnusableGpsRecordHoldsTelemetryUntilASeekBack) {
  startRecording({kSentenceA, "", "", "X-not-usable", "", "", kSentenceB});
  fireFrame(0);
  g_Playback.nTickCount = 0;
  fireFrame(3); // starts the wait
  EXPECT_EQ(g_Playback.bGpsSyncWait, 1);
  EXPECT_EQ(g_Playback.nGpsSyncIndex, 3u);
  g_Playback.nTickCount = 0;
  fireFrame(6);
  ASSERT_TRUE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_STREQ(sentence.data(), kSentenceA) << "no refresh during the wait";
  EXPECT_EQ(sensor[0], 0.0f);
  EXPECT_EQ(notifications().size(), 3u) << "notifications go on";

  g_Playback.nTickCount = 0;
  fireFrame(2); // before the wait's position: it ends
  EXPECT_EQ(g_Playback.bGpsSyncWait, 0);
  ASSERT_TRUE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_EQ(sensor[0], 2.0f);
}

TEST_F(FrameReport, PositionWithoutGpsRecordStartsAWait) {
  startRecording();
  g_Playback.nTickCount = 0;
  fireFrame(40); // beyond the record count
  EXPECT_EQ(g_Playback.bGpsSyncWait, 1);
  EXPECT_EQ(g_Playback.nGpsSyncIndex, 40u);
}

// Only every third report looks a record up, so a recording with one sentence
// a second showed its speed and heading only when the lookups happened to
// land on the sentences' positions.
TEST_F(FrameReport, SentencePassedOverBetweenLookupsIsShown) {
  struct Case {
    const char* what;
    std::vector<std::string> sentences;
    float duration; // 30 positions: 1 s gives 31 positions a second, 10 s gives 4
    std::vector<uint32_t> lookups;
    const char* shown;
  };
  const Case cases[] = {
      {"one position before", {kSentenceA}, 1.0f, {1}, kSentenceA},
      {"the newest passed over", {"", "", "", "", "", kSentenceA, kSentenceB}, 1.0f, {7}, kSentenceB},
      {"none from before the previous lookup", {"", kSentenceA, "", kSentenceB}, 1.0f, {4, 5}, kSentenceB},
      {"an unusable record passed over", {kSentenceA, "X-not-usable"}, 1.0f, {2}, kSentenceA},
      {"at most a second back", {kSentenceA}, 10.0f, {5}, ""},
      {"back again after a seek back", {"", kSentenceA, "", kSentenceB}, 1.0f, {4, 2}, kSentenceA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    startRecording(c.sentences, c.duration);
    for (uint32_t position : c.lookups) {
      g_Playback.nTickCount = 0;
      fireFrame(position);
    }
    ASSERT_TRUE(adap->ReadTelemetry(sentence, sensor));
    EXPECT_STREQ(sentence.data(), c.shown);
    EXPECT_EQ(g_Playback.bGpsSyncWait, 0);
    TearDown(); // a fresh adapter for the next case
    SetUp();
  }
}

TEST_F(FrameReport, NoTelemetryUntilTheRateIsKnown) {
  reachPlaying(writeRecording("a.mp4", 30, {kSentenceA}));
  fireLength(30);
  fireFrame(0);
  EXPECT_FALSE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_TRUE(testing_support::waitUntil([&] { return notifications().size() == 1; }));
}

TEST_F(FrameReport, FailedUserDataStopsTelemetryButNotNotifications) {
  startRecording();
  adap->Telemetry().SetErrorFlag(1);
  fireFrame(0);
  EXPECT_FALSE(adap->ReadTelemetry(sentence, sensor));
  EXPECT_TRUE(adap->UserDataFailed());
  EXPECT_TRUE(testing_support::waitUntil([&] { return notifications().size() == 1; }));
}

TEST_F(FrameReport, ReportWhileOpeningShowsNoPlayTime) {
  startRecording();
  adap->SetState(adap->StateNumbered(9));
  fireFrame(0, 12.5f);
  EXPECT_EQ(adap->PlayTime(), 0.0f);
  EXPECT_EQ(adap->PlayedSeconds(), 0);
  EXPECT_TRUE(testing_support::waitUntil([&] { return notifications().size() == 1; }));
  EXPECT_EQ(TelemetryStoreInspection::Lock(adap->Telemetry()).index.GetGpsRecord(0)[0], '$')
      << "nothing consumed while opening";
  EXPECT_EQ(g_Playback.bGpsSyncWait, 0) << "with the rate known, an opening report must not start a GPS wait";
}

TEST_F(FrameReport, DurationFixesPositionUnitsPerSecond) {
  reachPlaying(writeRecording("a.mp4", 10));
  fireLength(1800);
  const float shortClip = 0.5f;
  firePointer(&shortClip, player::kEventDuration);
  EXPECT_EQ(g_Playback.nPosUnitsPerSecond, kPosUnitsNotSet) << "under one second changes nothing";
  const float duration = 60.5f;
  firePointer(&duration, player::kEventDuration);
  EXPECT_EQ(adap->DurationSeconds(), 60);
  EXPECT_FLOAT_EQ(adap->Duration(), 60.5f);
  EXPECT_EQ(g_Playback.nPosUnitsPerSecond, 31);
}

// A rate that wrapped in 16 bits came out 0 (the slider then divided by zero)
// or 255 ("not yet known"), and a rate from a length never reported converted
// an out-of-range float.
TEST_F(FrameReport, DurationNeverGivesAZeroOrWrappedRate) {
  struct Case {
    uint32_t length;
    float seconds;
    uint16_t rate;
  };
  const Case cases[] = {
      {65535u * 3, 3.0f, 65535},       // q + 1 = 65536 used to wrap to 0
      {65790u, 1.0f, 65535},           // q + 1 = 65791 used to wrap to 255
      {0xFFFFFFFFu, 1.0f, 65535},      // length not reported yet
      {10, 60.0f, 1},                  // fewer units than seconds
      {1800, -60.0f, kPosUnitsNotSet}, // a negative time is no duration
      {1800, std::numeric_limits<float>::quiet_NaN(), kPosUnitsNotSet},
  };
  reachPlaying(writeRecording("a.mp4", 10));
  for (const Case& c : cases) {
    g_Playback.nPosUnitsPerSecond = kPosUnitsNotSet;
    fireLength(c.length);
    firePointer(&c.seconds, player::kEventDuration);
    EXPECT_EQ(g_Playback.nPosUnitsPerSecond, c.rate) << c.length << " units in " << c.seconds << " s";
  }
}

TEST_F(FrameReport, LengthSetsTheSliderAndTheRecordCount) {
  testing_support::MessageRecorder slider;
  adap->SetPositionSlider(&slider);
  reachPlaying(writeRecording("a.mp4", 10));
  fireLength(1234);
  EXPECT_EQ(adap->Length(), 1234u);
  EXPECT_EQ(TelemetryStoreInspection::Lock(adap->Telemetry()).index.RecordCount(), 1234u);
  const auto messages = slider.messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].message, platform::kMsgTbmSetRangeMin);
  EXPECT_EQ(messages[1].message, platform::kMsgTbmSetRangeMax);
  EXPECT_EQ(messages[1].wParam, 0u) << "range set without redrawing";
  EXPECT_EQ(messages[1].lParam, 1234);
  EXPECT_EQ(messages[2].message, platform::kMsgTbmSetPos);
  EXPECT_EQ(messages[2].wParam, 1u);
  EXPECT_EQ(messages[2].lParam, 0);
}

TEST_F(FrameReport, EndOfRecordingNotifiesOnlyAtTheEnd) {
  startRecording();
  fireFrame(10);
  g_Playback.nTickCount = 5;
  fire(0, player::kEventRecordingEnded);
  EXPECT_EQ(stateNumber(), 3);
  EXPECT_EQ(g_Playback.nTickCount, 5u) << "stopped before the end";
  QCoreApplication::processEvents();
  EXPECT_TRUE(window.messages(platform::kMsgPlayerEnd).empty());

  fire(0, player::kEventPlaying);
  fire(30, player::kEventPosition);
  fire(0, player::kEventRecordingEnded);
  EXPECT_EQ(g_Playback.nTickCount, 0u);
  ASSERT_TRUE(testing_support::waitUntil([&] { return window.messages(platform::kMsgPlayerEnd).size() == 1; }));
  EXPECT_EQ(window.messages(platform::kMsgPlayerEnd)[0].lParam, 1);

  fire(0, player::kEventRecordingEnded); // outside the playing state: only a wake-up
  EXPECT_EQ(stateNumber(), 3);
}

TEST_F(FrameReport, PlayingAsksTheVideoWindowForTheDuration) {
  testing_support::MessageRecorder video1;
  loadLibrary();
  firePointer(&video1, player::kEventVideoWindow1);
  fire(0, player::kEventPlaying);
  ASSERT_TRUE(testing_support::waitUntil([&] { return video1.messages().size() == 1; }));
  EXPECT_EQ(video1.messages()[0].message, player::kMsgCommandText);
  EXPECT_STREQ(reinterpret_cast<const char*>(video1.messages()[0].wParam), "get_time_length");
}

TEST_F(FrameReport, QueriesAreAnswered) {
  loadLibrary();
  player::WindowHandle mainWindow = nullptr;
  firePointer(&mainWindow, player::kEventQueryMainWindow);
  EXPECT_EQ(mainWindow, &window);
  const player::VideoPlacement* placementA = nullptr;
  const player::VideoPlacement* placementB = nullptr;
  firePointer(&placementA, player::kEventQueryPlacementA);
  firePointer(&placementB, player::kEventQueryPlacementB);
  EXPECT_EQ(placementA, &adap->VideoPosition());
  EXPECT_EQ(placementB, &adap->VideoFrame());
  int32_t volume = 0, reply1 = -1, reply2 = -1;
  firePointer(&volume, player::kEventQueryVolume);
  firePointer(&reply1, player::kEventQueryReply1);
  firePointer(&reply2, player::kEventQueryReply2);
  EXPECT_EQ(volume, 100);
  EXPECT_EQ(reply1, 0);
  EXPECT_EQ(reply2, 0);
  takeDiagnostics();
  fire(reinterpret_cast<intptr_t>("libmplayer"), player::kEventModule);
  fire(reinterpret_cast<intptr_t>("decoder says hi"), player::kEventDiagnostic);
  EXPECT_EQ(takeDiagnostics(), "current module : libmplayer\ndecoder says hi\n");
}

TEST_F(FrameReport, UnknownEventCodesChangeNothing) {
  startRecording();
  const uint32_t position = adap->Position();
  takeDiagnostics();
  for (uint32_t code : {1u, 2u, 7u, 8u, 9u, 11u, 13u, 15u, 19u, 31u, 1000u})
    fire(0x1234, code);
  EXPECT_EQ(takeDiagnostics(), "");
  EXPECT_EQ(stateNumber(), 1);
  EXPECT_EQ(adap->Position(), position);
  EXPECT_EQ(adap->Length(), 30u);
}

} // namespace
